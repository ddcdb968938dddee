// Emptying and removing one output folder: any name, any length, and never a
// file outside it.
#include <gtest/gtest.h>

#include <string>

#include "converter/RegistryState.h"
#include "converter/RootCanary.h"
#include "common/TempFolder.h"
#include "common/WideText.h"

namespace {

class DeleteOutputFolderTest : public ::testing::Test {
protected:
    TempFolder temp{"ombrix-delete"};

    // A folder inside temp whose full path has exactly length characters,
    // its name made of the letter fill.
    std::string MakeFolderOfLength(size_t length, char fill = 'd')
    {
        size_t fixed = temp.Path().size() + 1;
        EXPECT_LT(fixed + 101, length);
        std::string name(length - fixed, fill);
        // Folder names stop at 255 characters; split the rest off.
        for (size_t cut = 100; cut < name.size(); cut += 101) {
            temp.MakeFolder(name.substr(0, cut));
            name[cut] = '\\';
        }
        return temp.MakeFolder(name);
    }
    std::string Relative(const std::string& path) const { return path.substr(temp.Path().size() + 1); }
};

TEST_F(DeleteOutputFolderTest, PathsPastTheClassicLimitAreDeletedWhole)
{
    for (size_t folderLength : {250u, 256u, 300u, 600u}) {
        std::string folder = MakeFolderOfLength(folderLength, char('a' + folderLength % 26));
        std::string shortFile = temp.MakeFile(Relative(folder) + "\\1");
        std::string longFile = temp.MakeFile(Relative(folder) + "\\" + std::string(200, 'f'));
        EXPECT_TRUE(DeleteOutputFolder(Utf8ToWide(folder))) << folderLength;
        EXPECT_FALSE(PathExists(folder)) << folderLength;
    }
}

// Every name a listing can give is taken literally, inside the folder: names
// outside the code page, names the short form would change (trailing dots
// and blanks), and fullwidth solidus and full stop, which a conversion to
// the code page would turn into a way out of the folder.
TEST_F(DeleteOutputFolderTest, EveryNameIsDeletedInsideTheFolderAndNothingOutside)
{
    temp.MakeFolder("victim");
    const std::string keep = temp.MakeFile("victim\\keep.jpg");
    const std::string folder = temp.MakeFolder("exports \xe5\x86\x99\xe7\x9c\x9f");  // 写真
    for (const char* name : {"\xe5\x86\x99\xe7\x9c\x9f.jpg", "\xc5\x81\xc3\xb3\x64\xc5\xba.dng",
                             "\xf0\x9f\x93\xb7 rose.tif", "..\xef\xbc\xbcvictim\xef\xbc\xbckeep.jpg",
                             "\xef\xbc\x8e\xef\xbc\x8e", "trailing dot.", "trailing blank "}) {
        temp.MakeFile(Relative(folder) + "\\" + name);
    }
    EXPECT_TRUE(DeleteOutputFolder(Utf8ToWide(folder)));
    EXPECT_FALSE(PathExists(folder));
    EXPECT_TRUE(PathExists(keep));
}

TEST_F(DeleteOutputFolderTest, DriveRootIsNeverEmptied)
{
    RootCanary canary;
    for (const wchar_t* root : {L"C:", L"C:\\", L"C:/", L"C:\\Windows\\..", L"\\\\?\\C:\\"}) {
        EXPECT_FALSE(DeleteOutputFolder(root)) << WideToUtf8(root);
    }
    EXPECT_TRUE(canary.Alive());
}

TEST_F(DeleteOutputFolderTest, MissingFolderIsNotDeleted)
{
    EXPECT_FALSE(DeleteOutputFolder(Utf8ToWide(temp.Inside("missing"))));
}

}  // namespace
