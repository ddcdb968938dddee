// Finding the converter's executable through its document type's open command.
#include <cstring>
#include <string>

#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"

namespace {

// A 260-byte destination with guard bytes after it that must stay untouched.
struct GuardedPath {
    char bytes[260 + 16];
    GuardedPath(const char* initial = "")
    {
        std::memset(bytes, '#', sizeof bytes);
        std::strncpy(bytes, initial, 259);
    }
    bool GuardIntact() const
    {
        for (size_t i = 260; i < sizeof bytes; i++) {
            if (bytes[i] != '#') {
                return false;
            }
        }
        return true;
    }
};

class ConverterPathTest : public RegistryTest {};

TEST_F(ConverterPathTest, PathFollowedByAQuotedPlaceholderGivesThePath)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "C:\\Program Files\\Korvel\\Ombrix 4\\Ombrix.exe \"%1\"");
    GuardedPath path;
    EXPECT_EQ(ReadConverterPath(path.bytes), 0);
    EXPECT_STREQ(path.bytes, "C:\\Program Files\\Korvel\\Ombrix 4\\Ombrix.exe");
}

TEST_F(ConverterPathTest, QuotedPathKeepsItsQuotes)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "\"C:\\Program Files\\Ombrix.exe\" \"%1\"");
    GuardedPath path;
    EXPECT_EQ(ReadConverterPath(path.bytes), 0);
    EXPECT_STREQ(path.bytes, "\"C:\\Program Files\\Ombrix.exe\"");
}

TEST_F(ConverterPathTest, MissingClassKeyIsNoFailureAndLeavesThePathAlone)
{
    GuardedPath path("C:\\Earlier\\Ombrix.exe");
    EXPECT_EQ(ReadConverterPath(path.bytes), 0);
    EXPECT_STREQ(path.bytes, "C:\\Earlier\\Ombrix.exe");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, TestClassKey));
}

TEST_F(ConverterPathTest, MissingCommandSubkeyIsNotFound)
{
    CreateKey(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\shell\\open");
    GuardedPath path("C:\\Earlier\\Ombrix.exe");
    EXPECT_EQ(ReadConverterPath(path.bytes), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(path.bytes, "");
    EXPECT_TRUE(path.GuardIntact());
}

TEST_F(ConverterPathTest, LongestCommandThatFitsIsReadWhole)
{
    std::string executable = "C:\\" + std::string(250, 'o') + ".exe";  // 257 characters
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", executable.substr(0, 254) + " \"%1\"");
    GuardedPath path;
    EXPECT_EQ(ReadConverterPath(path.bytes), 0);
    EXPECT_EQ(std::string(path.bytes), executable.substr(0, 254));
    EXPECT_TRUE(path.GuardIntact());
}

TEST_F(ConverterPathTest, CommandTooLongForTheBufferIsMoreDataAndGivesNoPath)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "C:\\" + std::string(252, 'o') + " \"%1\"");  // 260 characters
    GuardedPath path("C:\\Earlier\\Ombrix.exe");
    EXPECT_EQ(ReadConverterPath(path.bytes), ERROR_MORE_DATA);
    EXPECT_STREQ(path.bytes, "");
    EXPECT_TRUE(path.GuardIntact());
}

TEST_F(ConverterPathTest, CommandsOfFiveCharactersOrFewerGiveAnEmptyPath)
{
    for (const char* command : {"", "a", "abcd", " \"%1\""}) {
        SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", command);
        GuardedPath path("C:\\Earlier\\Ombrix.exe");
        EXPECT_EQ(ReadConverterPath(path.bytes), 0) << command;
        EXPECT_STREQ(path.bytes, "") << "command \"" << command << "\"";
        EXPECT_TRUE(path.GuardIntact());
    }
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "x \"%1\"");
    GuardedPath path;
    EXPECT_EQ(ReadConverterPath(path.bytes), 0);
    EXPECT_STREQ(path.bytes, "x");
}

}  // namespace
