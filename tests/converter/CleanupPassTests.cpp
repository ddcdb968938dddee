// The deletion of recorded output folders at the first import of a load.
#include <windows.h>

#include <string>
#include <vector>

#include "common/ProgramFolder.h"
#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"
#include "converter/RootCanary.h"
#include "common/TempFolder.h"

namespace {

class CleanupPassTest : public RegistryTest {
protected:
    TempFolder temp{"ombrix-cleanup"};

    void Record(const char* name, const std::string& folder) { SetText(HKEY_CURRENT_USER, TestCleanupKey, name, folder); }
    std::vector<std::string> Records() { return ValueNames(HKEY_CURRENT_USER, TestCleanupKey); }
    // An output folder as the converter leaves it.
    std::string MakeExport(const char* name, int files)
    {
        std::string folder = temp.MakeFolder(name);
        for (int i = 0; i < files; i++) {
            temp.MakeFile(std::string(name) + "\\image" + std::to_string(i) + ".jpg");
        }
        return folder;
    }
};

// File names of a folder in the order the platform's search delivers them.
std::vector<std::string> FilesInSearchOrder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

using Names = std::vector<std::string>;

TEST_F(CleanupPassTest, MissingKeyIsCreatedEmpty)
{
    CleanupOldOutputFolders();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, TestCleanupKey));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, FolderWithFilesIsDeletedWithItsRecord)
{
    std::string folder = MakeExport("export", 3);
    Record("0", folder);
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, EmptyFolderIsDeletedWithItsRecord)
{
    std::string folder = MakeExport("empty", 0);
    Record("0", folder);
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, FolderRecordedWithATrailingBackslashIsDeletedToo)
{
    // A converter may report its folder with a final separator; the files of
    // that folder must go with the record, not stay on disk unrecorded.
    std::string folder = MakeExport("trailing", 2);
    Record("0", folder + "\\");
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, TwoRecordsOfOneFolderAreBothRemoved)
{
    std::string folder = MakeExport("twice", 2);
    Record("0", folder);
    Record("1", folder);
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, RecordsWithNothingToDeleteAreRemoved)
{
    SetBytes(HKEY_CURRENT_USER, TestCleanupKey, "0", "");
    Record("1", temp.Inside("never made"));
    Record("2", "");
    CleanupOldOutputFolders();
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, EveryRecordIsExaminedWhenEarlierOnesAreRemoved)
{
    // Removed, removed, kept, removed, kept, removed: each must be seen once.
    std::string file = temp.MakeFile("not a folder.txt");
    std::string locked = MakeExport("locked", 0);
    temp.MakeFolder("locked\\sub");
    Record("0", MakeExport("a", 1));
    Record("1", temp.Inside("gone"));
    Record("2", file);
    Record("3", MakeExport("b", 2));
    Record("4", locked);
    Record("5", MakeExport("c", 1));
    CleanupOldOutputFolders();
    EXPECT_EQ(Records(), (Names{"2", "4"}));
    EXPECT_FALSE(PathExists(temp.Inside("a")));
    EXPECT_FALSE(PathExists(temp.Inside("b")));
    EXPECT_FALSE(PathExists(temp.Inside("c")));
}

TEST_F(CleanupPassTest, PathNamingAFileIsKeptAndTheFileLeftAlone)
{
    std::string file = temp.MakeFile("image.jpg", "jpeg bytes");
    Record("0", file);
    CleanupOldOutputFolders();
    EXPECT_TRUE(PathExists(file));
    EXPECT_EQ(Records(), (Names{"0"}));
}

TEST_F(CleanupPassTest, FolderWithASubfolderLosesItsFilesButStays)
{
    std::string folder = MakeExport("nested", 2);
    std::string sub = temp.MakeFolder("nested\\sub");
    std::string inner = temp.MakeFile("nested\\sub\\inner.jpg");
    Record("0", folder);
    CleanupOldOutputFolders();
    EXPECT_TRUE(FilesInSearchOrder(folder).empty());
    EXPECT_TRUE(FolderExists(sub));
    EXPECT_TRUE(PathExists(inner));
    EXPECT_EQ(Records(), (Names{"0"}));
}

TEST_F(CleanupPassTest, ReadOnlyFileStopsTheDeletionWhereItIsMet)
{
    std::string folder = MakeExport("readonly", 5);
    std::string blocker = folder + "\\image2.jpg";
    ASSERT_TRUE(SetFileAttributesA(blocker.c_str(), FILE_ATTRIBUTE_READONLY));
    Names order = FilesInSearchOrder(folder);
    Record("0", folder);

    CleanupOldOutputFolders();

    bool before = true;
    for (const std::string& name : order) {
        before = before && name != "image2.jpg";
        EXPECT_EQ(PathExists(InFolder(folder, name)), !before) << name;
    }
    EXPECT_EQ(Records(), (Names{"0"}));
}

TEST_F(CleanupPassTest, FileInUseKeepsTheFolderUntilALaterCleanup)
{
    std::string folder = MakeExport("inuse", 1);
    std::string open = temp.MakeFile("inuse\\open.tif");
    HANDLE held = CreateFileA(open.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Record("0", folder);

    CleanupOldOutputFolders();
    EXPECT_TRUE(PathExists(open));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(Records(), (Names{"0"}));

    CloseHandle(held);
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, RecordTooLongToReadStaysAndThePassGoesOn)
{
    std::string folder = MakeExport("after", 1);
    Record("0", "C:\\" + std::string(32766, 'x'));  // longer than any path
    Record("1", folder);
    // A long name is read like any other; its zero bytes name no folder.
    std::string longName(1000, '9');
    SetBytes(HKEY_CURRENT_USER, TestCleanupKey, longName.c_str(), "");
    CleanupOldOutputFolders();
    EXPECT_FALSE(PathExists(folder));
    EXPECT_EQ(Records(), (Names{"0"}));
}

TEST_F(CleanupPassTest, DriveRootsAreNeverEmptied)
{
    RootCanary canary;

    Record("0", "C:");
    Record("1", "C:\\");
    Record("2", "C:/");
    Record("3", "c:\\.");
    Record("4", "C:\\Windows\\..");
    CleanupOldOutputFolders();
    EXPECT_TRUE(canary.Alive());
    EXPECT_TRUE(Records().empty());
}

TEST_F(CleanupPassTest, RelativePathsAreNeverEmptied)
{
    std::string folder = MakeExport("relative", 2);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    Record("0", "relative");
    Record("1", ".\\relative");
    CleanupOldOutputFolders();
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(FilesInSearchOrder(folder).size(), 2u);
    EXPECT_TRUE(Records().empty());
}

}  // namespace
