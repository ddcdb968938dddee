// The DNG files waiting for a new host instance: their command-line text,
// the batches that each fit one command line, and a list that grows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "selectors/ModuleState.h"
#include "support/AllocationFailure.h"
#include "support/RegistryTestKeys.h"
#include "fakehost/DialogWatcher.h"

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

TEST_F(HandOffListTest, FoldersOfABatchAreToldOncePerRunAndWhatStillWaitsIsFound)
{
    for (const char* folder : {"C:\\a", "C:\\a", "C:\\b", "C:\\a", "C:\\c"})
        ASSERT_TRUE(AppendHandOff(folder, "x.dng"));
    std::vector<char> arguments(64);
    size_t taken = NextHandOffBatch(arguments.data(), 4 * 13);  // the first four
    std::vector<std::pair<std::string, size_t>> runs;
    size_t offset = 0;
    std::string_view folder;
    while (NextBatchFolder(taken, offset, folder))
        runs.emplace_back(std::string(folder), offset);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].first, "C:\\a");
    EXPECT_EQ(runs[1].first, "C:\\b");
    EXPECT_EQ(runs[2].first, "C:\\a");
    EXPECT_TRUE(HandOffWaitsFor("C:\\a", runs[0].second)) << "a later run of the same folder";
    EXPECT_FALSE(HandOffWaitsFor("C:\\a", runs[2].second));
    EXPECT_TRUE(HandOffWaitsFor("C:\\c", runs[2].second)) << "after the batch";
    EXPECT_FALSE(HandOffWaitsFor("C:\\", 0)) << "a whole folder, not a prefix";
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

class LostDngTest : public RegistryTest {
protected:
    LostDngTest() { ReleaseHandOffList(); }
    ~LostDngTest() override { ReleaseHandOffList(); }
};

// A file that cannot be kept is told once a run, and its folder, which
// still holds it, is not recorded for deletion.
TEST_F(LostDngTest, FileThatCannotWaitIsToldOnceAndKeepsItsFolderOnDisk)
{
    CreateKey(HKEY_CURRENT_USER, TestCleanupKey);
    DialogWatcher watcher;
    snprintf(OutputFolder, sizeof OutputFolder, "C:\\nowhere-ombrix");
    FolderAwaitsRecord = true;
    FolderKeepsLostDng = false;
    for (const char* name : {"a.dng", "b.dng"}) {
        FailAllocation(1);
        CollectDng(name);
        AllocationsSinceArmed();
    }
    EXPECT_FALSE(HandOffPending());
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_EQ(watcher.Windows()[0].MessageText(),
              "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !");
    EndRunOfFolder();
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).empty());
    EXPECT_FALSE(FolderAwaitsRecord);

    FolderAwaitsRecord = true;
    FolderKeepsLostDng = false;
    EndRunOfFolder();
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).size(), 1u) << "a folder with nothing lost is recorded";
}

}  // namespace
