// The command-line text in which DNG files wait for a new host instance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "outputs/HandOffList.h"
#include "selectors/ModuleState.h"

namespace {

class HandOffListTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        HandOffList[0] = '\0';
        HandOffBacklogLength = 0;
    }
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

// Files that arrive while a full list could not be handed off wait in the
// backlog, whole and in order, until batches of them fit the list.
TEST_F(HandOffListTest, BacklogHoldsWholeEntriesUpToItsLastByteAndGivesThemBackInBatches)
{
    // 500-character entries and a zero each, then a final entry that fills
    // the backlog exactly; one more character is refused.
    std::string folder(488, 'f');
    size_t kept = 0;
    while (HandOffBacklogLength + 501 <= HandOffBacklogCapacity - 501)
        ASSERT_TRUE(KeepInBacklog(folder.c_str(), (std::to_string(100 + kept++) + "z.dng").c_str()));
    size_t room = HandOffBacklogCapacity - HandOffBacklogLength;
    std::string last(room - 1 - 4 - 5, 'l');
    EXPECT_FALSE(KeepInBacklog((last + "l").c_str(), "y.dng"));
    ASSERT_TRUE(KeepInBacklog(last.c_str(), "y.dng"));
    EXPECT_EQ(HandOffBacklogLength, HandOffBacklogCapacity);
    EXPECT_FALSE(KeepInBacklog("", ""));

    HandOffList[0] = 'x';
    EXPECT_FALSE(MoveBacklogIntoList()) << "only into an empty list";
    HandOffList[0] = '\0';
    ASSERT_TRUE(MoveBacklogIntoList());
    EXPECT_EQ(std::strlen(HandOffList), 9u * 500) << "as many whole entries as fit";
    EXPECT_EQ(std::string(HandOffList, 501), "\"" + folder + "\\100z.dng\" \"");
    EXPECT_EQ(HandOffBacklogLength, HandOffBacklogCapacity - 9 * 501);

    size_t moved = std::strlen(HandOffList);
    for (HandOffList[0] = '\0'; MoveBacklogIntoList(); HandOffList[0] = '\0')
        moved += std::strlen(HandOffList);
    EXPECT_EQ(HandOffBacklogLength, 0u);
    EXPECT_EQ(moved, kept * 500 + room - 1) << "every entry once";
}

TEST_F(HandOffListTest, EntryLongerThanTheListNeverEntersTheBacklog)
{
    std::string folder(HandOffCapacity - 4 - 5, 'f');  // one character more than a list holds
    EXPECT_FALSE(KeepInBacklog(folder.c_str(), "x.dng"));
    EXPECT_TRUE(KeepInBacklog(folder.substr(1).c_str(), "x.dng"));
}

}  // namespace
