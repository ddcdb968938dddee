// Which recorded paths the cleanup may empty.
#include <gtest/gtest.h>

#include "converter/CleanupPathSafety.h"

namespace {

TEST(CleanupPathSafety, FoldersBelowADriveOrShareMayBeEmptied)
{
    for (const char* path : {"C:\\Exports\\Session 1", "c:/exports", "C:\\a", "D:\\Out\\", "C:\\Out\\..\\Other",
                             "\\\\server\\share\\exports", "//server/share/exports/", "\\\\server\\share\\a\\b\\.."}) {
        EXPECT_TRUE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, DriveRootsAreRefused)
{
    for (const char* path : {"C:", "C:\\", "C:/", "c:\\\\", "C:\\.", "C:\\..", "C:\\Out\\..", "C:\\Out\\.\\..\\",
                             "C:/Out/../..", "C:\\...", "C:\\ .", "Z:\\"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, ShareRootsAreRefused)
{
    for (const char* path : {"\\\\server\\share", "\\\\server\\share\\", "//server/share", "//server/share/",
                             "\\\\server", "\\\\server\\", "\\\\", "\\\\server\\share\\sub\\..", "\\/server\\share"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

TEST(CleanupPathSafety, RelativeAndDevicePathsAreRefused)
{
    for (const char* path : {"", "Exports", ".\\Exports", "..\\Exports", "\\Exports", "/Exports", "C:Exports",
                             "\\\\?\\C:\\Exports", "\\\\.\\C:\\Exports", "\\??\\C:\\Exports", "1:\\Exports"}) {
        EXPECT_FALSE(IsFolderSafeToEmpty(path)) << path;
    }
}

}  // namespace
