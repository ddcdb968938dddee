// Emptying and removing one output folder, at the edge of the path limit.
#include <gtest/gtest.h>

#include <string>

#include "converter/RegistryState.h"
#include "converter/RootCanary.h"
#include "support/TempFolder.h"

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
        if (name.size() > 200) {
            temp.MakeFolder(name.substr(0, 100));
            name[100] = '\\';
        }
        return temp.MakeFolder(name);
    }
};

TEST_F(DeleteOutputFolderTest, FilePathOfTheFullLengthIsDeleted)
{
    std::string folder = MakeFolderOfLength(250);
    temp.MakeFile(folder.substr(temp.Path().size() + 1) + "\\12345678");  // 259 characters
    EXPECT_TRUE(DeleteOutputFolder(folder.c_str()));
    EXPECT_FALSE(PathExists(folder));
}

TEST_F(DeleteOutputFolderTest, FilePathPastTheLimitIsNeitherCutNorDeleted)
{
    std::string folder = MakeFolderOfLength(250);
    std::string tooLong = temp.MakeFile(folder.substr(temp.Path().size() + 1) + "\\123456789");  // 260 characters

    EXPECT_FALSE(DeleteOutputFolder(folder.c_str()));
    EXPECT_TRUE(PathExists(tooLong));
    EXPECT_TRUE(FolderExists(folder));
}

TEST_F(DeleteOutputFolderTest, FolderTooLongToSearchIsLeftAlone)
{
    // Its path and "\*.*" would take 260 characters.
    std::string folder = MakeFolderOfLength(256);
    std::string file = temp.MakeFile(folder.substr(temp.Path().size() + 1) + "\\a");
    EXPECT_FALSE(DeleteOutputFolder(folder.c_str()));
    EXPECT_TRUE(PathExists(file));

    std::string shorter = MakeFolderOfLength(255, 'e');
    temp.MakeFile(shorter.substr(temp.Path().size() + 1) + "\\a");
    EXPECT_TRUE(DeleteOutputFolder(shorter.c_str()));
    EXPECT_FALSE(PathExists(shorter));
}

TEST_F(DeleteOutputFolderTest, DriveRootIsNeverEmptied)
{
    RootCanary canary;
    for (const char* root : {"C:", "C:\\", "C:/", "C:\\Windows\\.."}) {
        EXPECT_FALSE(DeleteOutputFolder(root)) << root;
    }
    EXPECT_TRUE(canary.Alive());
}

TEST_F(DeleteOutputFolderTest, MissingFolderIsNotDeleted)
{
    EXPECT_FALSE(DeleteOutputFolder(temp.Inside("missing").c_str()));
}

}  // namespace
