// The stand-in registers itself where the module looks for the converter.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/ChildProcess.h"
#include "common/ProgramFolder.h"
#include "common/TempFolder.h"
#include "common/WideFiles.h"
#include "converter/StandInRegistry.h"

namespace {

constexpr const char* StandIn = "ombrix-converter.exe";

bool KeyExists(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class StandInRegistration : public ::testing::Test {
protected:
    void TearDown() override
    {
        UnregisterStandIn();
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\DefaultIcon");
        DeleteEmptyKeys(HKEY_CLASSES_ROOT, ConverterDocumentKey, ConverterDocumentKey);
    }
};

TEST_F(StandInRegistration, OpenCommandIsTheUnquotedPathAndFiveCharactersOfArgument)
{
    ASSERT_EQ(RunChild(StandIn, "--register"), 0);
    std::string command;
    ASSERT_TRUE(ReadOpenCommand(&command));
    std::string path = BesideProgram("ombrix-converter.exe");
    EXPECT_EQ(command, path + " \"%1\"");
    // The module takes all but the last five characters as the executable.
    EXPECT_EQ(command.substr(0, command.size() - 5), path);
}

TEST_F(StandInRegistration, OpenCommandHoldsAPathOutsideTheCodePageExactly)
{
    TempFolder folder;
    std::string copy = InFolder(folder.MakeFolder("Łódź 写真 📷"), StandIn);
    ASSERT_TRUE(CopyFileTo(BesideProgram(StandIn), copy));
    ASSERT_EQ(RunChild(ProgramPath{copy}, "--register"), 0);
    std::string command;
    ASSERT_TRUE(ReadOpenCommand(&command));
    EXPECT_EQ(command, copy + " \"%1\"");
}

TEST_F(StandInRegistration, UnregisterRemovesTheCommandAndTheKeysLeftEmpty)
{
    ASSERT_EQ(RunChild(StandIn, "--register"), 0);
    ASSERT_EQ(RunChild(StandIn, "--unregister"), 0);
    std::string command;
    EXPECT_FALSE(ReadOpenCommand(&command));
    EXPECT_FALSE(KeyExists(ConverterDocumentKey));
}

TEST_F(StandInRegistration, UnregisterKeepsWhatOthersPutBesideIt)
{
    HKEY icon;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\DefaultIcon", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &icon, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(icon);
    ASSERT_EQ(RunChild(StandIn, "--register"), 0);
    ASSERT_EQ(RunChild(StandIn, "--unregister"), 0);
    EXPECT_FALSE(KeyExists(ConverterCommandKey));
    EXPECT_FALSE(KeyExists("OmbrixProject.Document\\shell"));
    EXPECT_TRUE(KeyExists("OmbrixProject.Document\\DefaultIcon"));
}

TEST_F(StandInRegistration, UnregisterWithoutRegistrationSucceeds)
{
    EXPECT_EQ(RunChild(StandIn, "--unregister"), 0);
}

TEST_F(StandInRegistration, UnknownArgumentsAreRefused)
{
    EXPECT_EQ(RunChild(StandIn, "--frobnicate"), 2);
    EXPECT_EQ(RunChild(StandIn, ""), 2);
}

}  // namespace
