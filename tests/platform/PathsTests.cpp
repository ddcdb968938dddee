// A listing's names joined to their folder, in the long form the file
// functions take at any length.
#include <gtest/gtest.h>

#include <string>

#include "platform/Paths.h"
#include "common/WideText.h"

namespace {

TEST(Paths, OnlyPlainNamesAreJoinedToTheirFolder)
{
    for (const wchar_t* name : {L"a.jpg", L"\u5199\u771f.jpg", L"..\uFF3Cvictim\uFF3Ckeep.jpg", L"\uFF0E\uFF0E",
                                L"...", L"trailing dot.", L" leading blank", L"\U0001F4F7.dng"})
        EXPECT_TRUE(IsPlainName(name)) << WideToUtf8(name);
    for (const wchar_t* name : {L"", L".", L"..", L"a\\b.jpg", L"..\\keep.jpg", L"a/b.jpg", L"C:a.jpg", L"a.jpg:stream"})
        EXPECT_FALSE(IsPlainName(name)) << WideToUtf8(name);
}

TEST(Paths, FileInFolderIsTheLongFormOfTheFolderOneSeparatorAndTheNameAsListed)
{
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* expected;  // empty: refused
    } cases[] = {
        {L"C:\\Out", L"a.jpg", L"\\\\?\\C:\\Out\\a.jpg"},
        {L"C:\\Out\\\\", L"a.jpg", L"\\\\?\\C:\\Out\\a.jpg"},
        {L"C:/Out/sub/../x", L"a.jpg", L"\\\\?\\C:\\Out\\x\\a.jpg"},
        {L"C:\\", L"a.jpg", L"\\\\?\\C:\\a.jpg"},
        {L"\\\\server\\share\\x", L"a.jpg", L"\\\\?\\UNC\\server\\share\\x\\a.jpg"},
        {L"//server/share/x/", L"a.jpg", L"\\\\?\\UNC\\server\\share\\x\\a.jpg"},
        {L"\\\\?\\C:\\Out", L"a.jpg", L"\\\\?\\C:\\Out\\a.jpg"},
        {L"C:\\\u0141\u00f3d\u017a", L"trailing dot. ", L"\\\\?\\C:\\\u0141\u00f3d\u017a\\trailing dot. "},
        {L"C:\\Out", L"..", L""},
        {L"C:\\Out", L"..\\Other\\a.jpg", L""},
        {L"", L"a.jpg", L""},
    };
    for (const Case& c : cases) {
        std::wstring path = L"stale";
        EXPECT_EQ(FileInFolder(c.folder, c.name, path), c.expected[0] != L'\0') << WideToUtf8(c.folder);
        EXPECT_EQ(path, c.expected) << WideToUtf8(c.folder);
    }
}

// The path and its terminator fill the buffer exactly, or nothing is written.
TEST(Paths, FileInFolderFillsItsBufferToTheLastUnitAndNeverPast)
{
    const std::wstring expected = L"\\\\?\\C:\\Out\\name.jpg";
    std::wstring buffer(expected.size() + 4, L'#');
    EXPECT_TRUE(FileInFolder(L"C:\\Out", L"name.jpg", buffer.data(), expected.size() + 1));
    EXPECT_EQ(buffer.substr(0, expected.size() + 1), expected + L'\0');
    EXPECT_EQ(buffer.substr(expected.size() + 1), L"###");
    buffer.assign(expected.size() + 4, L'#');
    EXPECT_FALSE(FileInFolder(L"C:\\Out", L"name.jpg", buffer.data(), expected.size()));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(buffer.substr(expected.size()), L"####");

    // Up to Windows' own limit, and not past it.
    const std::wstring folder = L"C:\\" + std::wstring(LongestPath - 4 - 3 - 1 - 5, L'f');
    std::wstring path;
    EXPECT_TRUE(FileInFolder(folder, L"a.jpg", path));
    EXPECT_EQ(path.size(), LongestPath);
    EXPECT_FALSE(FileInFolder(folder, L"ab.jpg", path));
    EXPECT_TRUE(path.empty());
}

}  // namespace
