// Finding the converter's executable through its document type's open command.
#include <string>

#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"
#include "common/WideText.h"

namespace {

class ConverterPathTest : public RegistryTest {};

TEST_F(ConverterPathTest, PathFollowedByAQuotedPlaceholderGivesThePath)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "C:\\Program Files\\Korvel\\Ombrix 4\\Ombrix.exe \"%1\"");
    std::wstring path;
    EXPECT_EQ(ReadConverterPath(path), 0);
    EXPECT_EQ(path, L"C:\\Program Files\\Korvel\\Ombrix 4\\Ombrix.exe");
}

TEST_F(ConverterPathTest, QuotedPathKeepsItsQuotes)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "\"C:\\Program Files\\Ombrix.exe\" \"%1\"");
    std::wstring path;
    EXPECT_EQ(ReadConverterPath(path), 0);
    EXPECT_EQ(path, L"\"C:\\Program Files\\Ombrix.exe\"");
}

TEST_F(ConverterPathTest, MissingClassKeyIsNoFailureAndLeavesThePathAlone)
{
    std::wstring path = L"C:\\Earlier\\Ombrix.exe";
    EXPECT_EQ(ReadConverterPath(path), 0);
    EXPECT_EQ(path, L"C:\\Earlier\\Ombrix.exe");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, TestClassKey));
}

TEST_F(ConverterPathTest, MissingCommandSubkeyIsNotFound)
{
    CreateKey(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\shell\\open");
    std::wstring path = L"C:\\Earlier\\Ombrix.exe";
    EXPECT_EQ(ReadConverterPath(path), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(path, L"");
}

// Installed under any folder: names outside the code page and paths past the
// classic 259 characters are read whole, up to Windows' own limit.
TEST_F(ConverterPathTest, AnyPathWindowsAllowsIsReadWhole)
{
    const std::wstring paths[] = {
        L"C:\\Program Files\\\u5199\u771f \u0141\u00f3d\u017a\\\U0001F4F7\\Ombrix.exe",
        L"C:\\" + std::wstring(290, L'o') + L".exe",
        L"C:\\" + std::wstring(32767 - 7, L'o') + L".exe",
    };
    for (const std::wstring& executable : paths) {
        SetWideText(HKEY_CLASSES_ROOT, TestCommandKey, "", WideToUtf8(executable + L" \"%1\""));
        std::wstring path;
        EXPECT_EQ(ReadConverterPath(path), 0) << executable.size();
        EXPECT_EQ(path, executable);
    }
}

TEST_F(ConverterPathTest, CommandLongerThanAnyPathIsMoreDataAndGivesNoPath)
{
    SetWideText(HKEY_CLASSES_ROOT, TestCommandKey, "", "C:\\" + std::string(32767 - 2, 'o') + " \"%1\"");
    std::wstring path = L"C:\\Earlier\\Ombrix.exe";
    EXPECT_EQ(ReadConverterPath(path), ERROR_MORE_DATA);
    EXPECT_EQ(path, L"");
}

TEST_F(ConverterPathTest, CommandsOfFiveCharactersOrFewerGiveAnEmptyPath)
{
    for (const char* command : {"", "a", "abcd", " \"%1\""}) {
        SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", command);
        std::wstring path = L"C:\\Earlier\\Ombrix.exe";
        EXPECT_EQ(ReadConverterPath(path), 0) << command;
        EXPECT_EQ(path, L"") << "command \"" << command << "\"";
    }
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", "x \"%1\"");
    std::wstring path;
    EXPECT_EQ(ReadConverterPath(path), 0);
    EXPECT_EQ(path, L"x");
}

}  // namespace
