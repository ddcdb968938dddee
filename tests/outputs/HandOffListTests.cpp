// The DNG files waiting for a new host instance: their command-line text,
// the batches that each fit one command line, and a list that grows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "outputs/HandOffList.h"
#include "selectors/ModuleState.h"
#include "support/AllocationFailure.h"

namespace {

class HandOffListTest : public ::testing::Test {
protected:
    void SetUp() override { ReleaseHandOffList(); }
    void TearDown() override { ReleaseHandOffList(); }

    // The next batch for room characters, dropped from the list.
    static std::string TakeBatch(size_t room)
    {
        std::vector<char> arguments(room + 1, 'x');
        size_t taken = NextHandOffBatch(arguments.data(), room);
        DropHandOffBatch(taken);
        return arguments.data();
    }
    static std::string Everything() { return TakeBatch(1 << 20); }
};

TEST_F(HandOffListTest, EntriesAreQuotedPathsEachFollowedByABlankCopiedAsTheyAre)
{
    EXPECT_FALSE(HandOffPending());
    ASSERT_TRUE(AppendHandOff("C:\\Out", "c.dng"));
    ASSERT_TRUE(AppendHandOff("D:\\My Exports\\", "a b \"x\".dng"));
    EXPECT_TRUE(HandOffPending());
    EXPECT_EQ(Everything(), "\"C:\\Out\\c.dng\" \"D:\\My Exports\\\\a b \"x\".dng\" ");
    EXPECT_FALSE(HandOffPending());
}

// 100 entries of 50 characters: a batch takes whole entries up to its last
// character, and the rest waits in order.
TEST_F(HandOffListTest, BatchesTakeWholeEntriesUpToTheirLastCharacter)
{
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(AppendHandOff(std::string(38, 'f').c_str(), (std::to_string(100 + i) + "z.dng").c_str()));
    const std::string all = [] {
        std::vector<char> arguments(5001);
        NextHandOffBatch(arguments.data(), 5000);
        return std::string(arguments.data());
    }();
    ASSERT_EQ(all.size(), 5000u);

    struct Case {
        size_t room;
        size_t expected;
    } cases[] = {{150, 150}, {149, 100}, {49, 0}, {50, 50}, {4699, 4650}};
    size_t given = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.room);
        std::string batch = TakeBatch(c.room);
        EXPECT_EQ(batch, all.substr(given, c.expected));
        given += batch.size();
    }
    EXPECT_EQ(given, 4950u);
    EXPECT_EQ(Everything(), all.substr(given)) << "the last entry, and nothing twice";
}

// Far more files than any command line takes: none is turned away, and the
// batches give each back once, in order.
TEST_F(HandOffListTest, ListGrowsForEveryFileAndItsBatchesGiveEachBackOnce)
{
    std::string expected;
    for (int i = 0; i < 1500; ++i) {
        std::string name = std::to_string(i) + ".dng";
        ASSERT_TRUE(AppendHandOff("C:\\Users\\photographer\\exports\\export-1", name.c_str()));
        expected += "\"C:\\Users\\photographer\\exports\\export-1\\" + name + "\" ";
    }
    std::string given;
    int batches = 0;
    while (HandOffPending()) {
        std::string batch = TakeBatch(32766 - 20);
        ASSERT_FALSE(batch.empty());
        EXPECT_LE(batch.size(), 32766u - 20);
        given += batch;
        ++batches;
    }
    EXPECT_EQ(given, expected);
    EXPECT_EQ(batches, int((expected.size() + 32745) / 32746));
}

// A folder's record rides on its last waiting entry and is found in the
// batch that takes that entry; a later entry of the same folder, a folder
// whose name begins like another's, and a folder with no entry get none.
TEST_F(HandOffListTest, FolderRecordRidesOnItsLastEntryAndIsFoundInItsBatch)
{
    for (const char* folder : {"C:\\a", "C:\\b", "C:\\a", "C:\\ab", "C:\\a"})
        ASSERT_TRUE(AppendHandOff(folder, "x.dng"));
    EXPECT_TRUE(CarryRecordOnLastEntry("C:\\b"));
    EXPECT_FALSE(CarryRecordOnLastEntry("C:\\")) << "a whole folder, not a prefix";
    EXPECT_FALSE(HandOffWaitsFor("C:\\"));
    const auto recordsInBatch = [](size_t room) {
        std::vector<char> arguments(room + 1);
        const size_t taken = NextHandOffBatch(arguments.data(), room);
        std::vector<std::string> folders;
        size_t offset = 0;
        std::string_view folder;
        while (NextRecordInBatch(taken, offset, folder))
            folders.emplace_back(folder);
        DropHandOffBatch(taken);
        return folders;
    };
    EXPECT_TRUE(recordsInBatch(13).empty()) << "the first entry carries none";
    EXPECT_TRUE(CarryRecordOnLastEntry("C:\\a"));
    EXPECT_TRUE(CarryRecordOnLastEntry("C:\\ab"));
    EXPECT_EQ(recordsInBatch(2 * 13 + 14), (std::vector<std::string>{"C:\\b", "C:\\ab"}));
    EXPECT_TRUE(HandOffWaitsFor("C:\\a"));
    DropRecordsOf("C:\\a");
    EXPECT_TRUE(recordsInBatch(13).empty()) << "its record was taken off";
    EXPECT_FALSE(HandOffPending());
}

// No memory for one more entry: it is refused and what is held is kept.
TEST_F(HandOffListTest, EntryWithoutMemoryIsRefusedAndTheListKeepsWhatItHolds)
{
    FailAllocation(1);
    EXPECT_FALSE(AppendHandOff("C:\\Out", "first.dng"));
    AllocationsSinceArmed();
    EXPECT_FALSE(HandOffPending());

    std::string held;
    for (int i = 0; HandOffList.length + 30 < HandOffList.capacity || i == 0; ++i) {
        ASSERT_TRUE(AppendHandOff("C:\\Out", (std::to_string(1000 + i) + ".dng").c_str()));
        held += "\"C:\\Out\\" + std::to_string(1000 + i) + ".dng\" ";
    }
    const std::string name(30, 'n');
    FailAllocation(1);
    EXPECT_FALSE(AppendHandOff("C:\\Out", name.c_str()));
    EXPECT_EQ(AllocationsSinceArmed(), 1u) << "the list had to grow";
    EXPECT_EQ(Everything(), held);
}

}  // namespace
