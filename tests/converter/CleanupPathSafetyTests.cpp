// Which recorded paths the cleanup may empty.
#include <gtest/gtest.h>

#include "converter/CleanupPathSafety.h"

namespace {

TEST(CleanupPathSafety, FoldersBelowADriveOrShareMayBeEmptied)
{
    for (const wchar_t* path : {L"C:\\Exports\\Session 1", L"c:/exports", L"C:\\a", L"D:\\Out\\", L"C:\\Out\\..\\Other",
                             L"\\\\server\\share\\exports", L"//server/share/exports/", L"\\\\server\\share\\a\\b\\..",
                             // Fullwidth solidus and full stop are characters of a name, not separators.
                             L"C:\\\uFF3C..\uFF3C..", L"C:\\\uFF0E\uFF0E"}) {
        EXPECT_TRUE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, DriveRootsAreRefused)
{
    for (const wchar_t* path : {L"C:", L"C:\\", L"C:/", L"c:\\\\", L"C:\\.", L"C:\\..", L"C:\\Out\\..", L"C:\\Out\\.\\..\\",
                             L"C:/Out/../..", L"C:\\...", L"C:\\ .", L"Z:\\"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, ShareRootsAreRefused)
{
    for (const wchar_t* path : {L"\\\\server\\share", L"\\\\server\\share\\", L"//server/share", L"//server/share/",
                             L"\\\\server", L"\\\\server\\", L"\\\\", L"\\\\server\\share\\sub\\..", L"\\/server\\share"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, RelativeAndDevicePathsAreRefused)
{
    for (const wchar_t* path : {L"", L"Exports", L".\\Exports", L"..\\Exports", L"\\Exports", L"/Exports", L"C:Exports",
                             L"\\\\?\\C:\\Exports", L"\\\\.\\C:\\Exports", L"\\??\\C:\\Exports", L"1:\\Exports"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

}  // namespace
