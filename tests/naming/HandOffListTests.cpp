// The command-line text in which DNG files wait for a new host instance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "controller/HandOffList.h"
#include "shell/ModuleState.h"

namespace {

class HandOffListTest : public ::testing::Test {
protected:
    void SetUp() override { HandOffList[0] = '\0'; }
    void TearDown() override { HandOffList[0] = '\0'; }
};

TEST_F(HandOffListTest, OneEntryIsAQuotedPathFollowedByABlank)
{
    EXPECT_TRUE(AppendHandOff("C:\\Out", "c.dng"));
    EXPECT_STREQ(HandOffList, "\"C:\\Out\\c.dng\" ");
}

TEST_F(HandOffListTest, TwoEntriesAreSeparatedByTheBlankOfTheFirst)
{
    EXPECT_TRUE(AppendHandOff("C:\\Out", "c.dng"));
    EXPECT_TRUE(AppendHandOff("C:\\Out", "d.dng"));
    EXPECT_STREQ(HandOffList, "\"C:\\Out\\c.dng\" \"C:\\Out\\d.dng\" ");
}

TEST_F(HandOffListTest, FolderAndNameAreCopiedAsTheyAre)
{
    EXPECT_TRUE(AppendHandOff("D:\\My Exports\\", "a b \"x\".dng"));
    EXPECT_STREQ(HandOffList, "\"D:\\My Exports\\\\a b \"x\".dng\" ");
}

TEST_F(HandOffListTest, AnEntryThatFillsTheListExactlyIsTaken)
{
    // 4999 characters in all: the entry adds folder + name + 4.
    std::string folder(HandOffCapacity - 1 - 4 - 5, 'f');
    ASSERT_TRUE(AppendHandOff(folder.c_str(), "x.dng"));
    EXPECT_EQ(std::strlen(HandOffList), HandOffCapacity - 1);
    EXPECT_EQ(std::string(HandOffList), "\"" + folder + "\\x.dng\" ");
}

TEST_F(HandOffListTest, AnEntryOneCharacterTooLongLeavesTheListUnchanged)
{
    ASSERT_TRUE(AppendHandOff("C:\\Out", "c.dng"));
    std::string before = HandOffList;
    // With "y.dng" this entry fills the list to its last character.
    std::string filler(HandOffCapacity - 1 - before.size() - 4 - 5, 'g');

    EXPECT_FALSE(AppendHandOff(filler.c_str(), "xy.dng"));
    EXPECT_EQ(std::string(HandOffList), before);

    EXPECT_TRUE(AppendHandOff(filler.c_str(), "y.dng"));
    EXPECT_EQ(std::strlen(HandOffList), HandOffCapacity - 1);
    EXPECT_FALSE(AppendHandOff("", ""));
    EXPECT_EQ(std::strlen(HandOffList), HandOffCapacity - 1);
}

}  // namespace
