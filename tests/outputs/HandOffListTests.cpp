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
    static std::wstring TakeBatch(size_t room)
    {
        std::vector<wchar_t> arguments(room + 1, L'x');
        size_t taken = NextHandOffBatch(arguments.data(), room);
        DropHandOffBatch(taken);
        return arguments.data();
    }
    static std::wstring Everything() { return TakeBatch(1 << 20); }
};

TEST_F(HandOffListTest, EntriesAreQuotedPathsEachFollowedByABlankCopiedAsTheyAre)
{
    EXPECT_FALSE(HandOffPending());
    ASSERT_TRUE(AppendHandOff(L"C:\\Out", L"c.dng"));
    ASSERT_TRUE(AppendHandOff(L"D:\\My Exports\\", L"a b \"x\".dng"));
    ASSERT_TRUE(AppendHandOff(L"C:\\\u0141\u00f3d\u017a", L"\U0001F4F7 \u5199\u771f.dng"));
    EXPECT_TRUE(HandOffPending());
    EXPECT_EQ(Everything(), L"\"C:\\Out\\c.dng\" \"D:\\My Exports\\\\a b \"x\".dng\" "
                            L"\"C:\\\u0141\u00f3d\u017a\\\U0001F4F7 \u5199\u771f.dng\" ");
    EXPECT_FALSE(HandOffPending());
}

// 100 entries of 50 characters: a batch takes whole entries up to its last
// character, and the rest waits in order.
TEST_F(HandOffListTest, BatchesTakeWholeEntriesUpToTheirLastCharacter)
{
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(AppendHandOff(std::wstring(38, L'f').c_str(), (std::to_wstring(100 + i) + L"z.dng").c_str()));
    const std::wstring all = [] {
        std::vector<wchar_t> arguments(5001);
        NextHandOffBatch(arguments.data(), 5000);
        return std::wstring(arguments.data());
    }();
    ASSERT_EQ(all.size(), 5000u);

    struct Case {
        size_t room;
        size_t expected;
    } cases[] = {{150, 150}, {149, 100}, {49, 0}, {50, 50}, {4699, 4650}};
    size_t given = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.room);
        std::wstring batch = TakeBatch(c.room);
        EXPECT_EQ(batch, all.substr(given, c.expected));
        given += batch.size();
    }
    EXPECT_EQ(given, 4950u);
    EXPECT_EQ(Everything(), all.substr(given)) << L"the last entry, and nothing twice";
}

// Far more files than any command line takes: none is turned away, and the
// batches give each back once, in order.
TEST_F(HandOffListTest, ListGrowsForEveryFileAndItsBatchesGiveEachBackOnce)
{
    std::wstring expected;
    for (int i = 0; i < 1500; ++i) {
        std::wstring name = std::to_wstring(i) + L".dng";
        ASSERT_TRUE(AppendHandOff(L"C:\\Users\\photographer\\exports\\export-1", name.c_str()));
        expected += L"\"C:\\Users\\photographer\\exports\\export-1\\" + name + L"\" ";
    }
    std::wstring given;
    int batches = 0;
    while (HandOffPending()) {
        std::wstring batch = TakeBatch(32766 - 20);
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
    for (const wchar_t* folder : {L"C:\\a", L"C:\\b", L"C:\\a", L"C:\\ab", L"C:\\a"})
        ASSERT_TRUE(AppendHandOff(folder, L"x.dng"));
    EXPECT_TRUE(CarryRecordOnLastEntry(L"C:\\b"));
    EXPECT_FALSE(CarryRecordOnLastEntry(L"C:\\")) << L"a whole folder, not a prefix";
    EXPECT_FALSE(HandOffWaitsFor(L"C:\\"));
    const auto recordsInBatch = [](size_t room) {
        std::vector<wchar_t> arguments(room + 1);
        const size_t taken = NextHandOffBatch(arguments.data(), room);
        std::vector<std::wstring> folders;
        size_t offset = 0;
        std::wstring_view folder;
        while (NextRecordInBatch(taken, offset, folder))
            folders.emplace_back(folder);
        DropHandOffBatch(taken);
        return folders;
    };
    EXPECT_TRUE(recordsInBatch(13).empty()) << L"the first entry carries none";
    EXPECT_TRUE(CarryRecordOnLastEntry(L"C:\\a"));
    EXPECT_TRUE(CarryRecordOnLastEntry(L"C:\\ab"));
    EXPECT_EQ(recordsInBatch(2 * 13 + 14), (std::vector<std::wstring>{L"C:\\b", L"C:\\ab"}));
    EXPECT_TRUE(HandOffWaitsFor(L"C:\\a"));
    DropRecordsOf(L"C:\\a");
    EXPECT_TRUE(recordsInBatch(13).empty()) << L"its record was taken off";
    EXPECT_FALSE(HandOffPending());
}

// No memory for one more entry: it is refused and what is held is kept.
TEST_F(HandOffListTest, EntryWithoutMemoryIsRefusedAndTheListKeepsWhatItHolds)
{
    FailAllocation(1);
    EXPECT_FALSE(AppendHandOff(L"C:\\Out", L"first.dng"));
    AllocationsSinceArmed();
    EXPECT_FALSE(HandOffPending());

    std::wstring held;
    for (int i = 0; HandOffList.length + 30 < HandOffList.capacity || i == 0; ++i) {
        ASSERT_TRUE(AppendHandOff(L"C:\\Out", (std::to_wstring(1000 + i) + L".dng").c_str()));
        held += L"\"C:\\Out\\" + std::to_wstring(1000 + i) + L".dng\" ";
    }
    const std::wstring name(30, L'n');
    FailAllocation(1);
    EXPECT_FALSE(AppendHandOff(L"C:\\Out", name.c_str()));
    EXPECT_EQ(AllocationsSinceArmed(), 1u) << L"the list had to grow";
    EXPECT_EQ(Everything(), held);
}

}  // namespace
