// Taking the file name from a path, and the host's own executable path.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "platform/ProcessLaunch.h"
#include "common/ProgramFolder.h"
#include "common/WideText.h"

namespace {

std::wstring NamePart(const std::wstring& path, size_t capacity = 260)
{
    wchar_t name[300];
    std::wmemset(name, L'#', std::size(name));
    bool fit = FileNamePart(path.c_str(), name, capacity);
    EXPECT_EQ(name[capacity], L'#') << "written past the capacity";
    return fit ? std::wstring(name) : L"<no fit: \"" + std::wstring(name) + L"\">";
}

TEST(FileNamePart, TextAfterTheLastBackslash)
{
    EXPECT_EQ(NamePart(L"C:\\Program Files\\Adobe\\Photoshop.exe"), L"Photoshop.exe");
    EXPECT_EQ(NamePart(L"Photoshop.exe"), L"Photoshop.exe");
    EXPECT_EQ(NamePart(L"C:\\Program Files\\"), L"");
    EXPECT_EQ(NamePart(L""), L"");
    EXPECT_EQ(NamePart(L"C:\\\u5199\u771f\\\U0001F4F7 \u0141\u00f3d\u017a.exe"), L"\U0001F4F7 \u0141\u00f3d\u017a.exe");
}

// A fullwidth solidus is a character of a name.
TEST(FileNamePart, OnlyTheBackslashSeparates)
{
    EXPECT_EQ(NamePart(L"C:/Tools/host.exe"), L"C:/Tools/host.exe");
    EXPECT_EQ(NamePart(L"C:host.exe"), L"C:host.exe");
    EXPECT_EQ(NamePart(L"C:\\Tools/sub/host.exe"), L"Tools/sub/host.exe");
    EXPECT_EQ(NamePart(L"C:\\Tools\uFF3Chost.exe"), L"Tools\uFF3Chost.exe");
}

TEST(FileNamePart, NameThatDoesNotFitLeavesTheDestinationEmpty)
{
    std::wstring name51(51, L'n');
    EXPECT_EQ(NamePart(L"C:\\Tools\\" + name51, 52), name51);
    EXPECT_EQ(NamePart(L"C:\\Tools\\" + name51 + L"x", 52), L"<no fit: \"\">");
}

TEST(HostExecutablePath, IsTheFullPathOfTheRunningProgram)
{
    EXPECT_EQ(HostExecutablePath(), Utf8ToWide(BesideProgram("platform_tests.exe")));
}

}  // namespace
