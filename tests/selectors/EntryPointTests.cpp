// The entry point as the host sees it: the globals block in the data slot,
// the result code, and selectors outside the table.
#include <gtest/gtest.h>

#include <vector>

#include "hostutil/EmulatedHandle.h"
#include "selectors/EntryPoint.h"
#include "hostutil/PluginGlobals.h"
#include "support/FakeHandleSuite.h"

namespace {

class EntryPointTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        suite().Reset();
        record.resize(NewestAcquireRecordSize);
        acquire()->handleProcs = &suite().procs;
    }
    void TearDown() override
    {
        if (slot != 0)
            suite().procs.disposeProc(reinterpret_cast<Handle>(slot));
        suite().Reset();
    }

    static FakeHandleSuite& suite() { return FakeHandleSuite::Instance(); }
    AcquireRecord* acquire() { return reinterpret_cast<AcquireRecord*>(record.data()); }

    std::vector<char> record;
    intptr_t slot = 0;
    int16_t result = 99;
};

TEST_F(EntryPointTest, SelectorOutsideTableOnFirstCallCreatesPublishesAndUnlocksBlock)
{
    for (int16_t selector : {int16_t(6), int16_t(-1)}) {
        result = 99;
        ENTRYPOINT(selector, acquire(), &slot, &result);
        EXPECT_EQ(result, ResultBadParameters) << "selector " << selector;
        ASSERT_NE(slot, 0) << "the block is published in the data slot";
        EXPECT_EQ(suite().created, 1) << "the second call reuses the block";
        EXPECT_EQ(suite().lockCount[reinterpret_cast<Handle>(slot)], 0) << "the block is unlocked after the call";
    }
    EXPECT_EQ(suite().locks, suite().unlocks);
}

TEST_F(EntryPointTest, NewBlockStartsWithNoProgressDialogAndNotFresh)
{
    ENTRYPOINT(7, acquire(), &slot, &result);
    ASSERT_NE(slot, 0);
    auto* globals = reinterpret_cast<PluginGlobals*>(*reinterpret_cast<Handle>(slot));
    EXPECT_EQ(globals->progressDialog, nullptr);
    EXPECT_FALSE(globals->fresh);
    EXPECT_EQ(globals->result, &result);
    EXPECT_EQ(globals->record, acquire());
}

TEST_F(EntryPointTest, AboutNeitherTouchesTheSlotNorTheResult)
{
    ENTRYPOINT(7, acquire(), &slot, &result);
    intptr_t before = slot;
    int locksBefore = suite().locks;
    int unlocksBefore = suite().unlocks;

    // An owner that is no window: the About box cannot be created and the
    // call returns at once.
    PlatformData platform{static_cast<intptr_t>(0x7FFF0001)};
    AboutRecord about{};
    about.platformData = &platform;
    result = 1234;
    ENTRYPOINT(SelectorAbout, &about, &slot, &result);

    EXPECT_EQ(result, 1234);
    EXPECT_EQ(slot, before);
    EXPECT_EQ(suite().locks, locksBefore);
    EXPECT_EQ(suite().unlocks, unlocksBefore);
}

TEST_F(EntryPointTest, HandleThatCannotBeLockedGivesOutOfMemoryAndIsDisposed)
{
    suite().failLock = true;
    ENTRYPOINT(SelectorFinish, acquire(), &slot, &result);
    EXPECT_EQ(result, ResultOutOfMemory);
    EXPECT_EQ(slot, 0) << "the next call must try again";
    EXPECT_EQ(suite().created, 1);
    EXPECT_EQ(suite().disposed, 1);
    EXPECT_EQ(suite().unlocks, 0) << "nothing is unlocked after a failed lock";
}

TEST_F(EntryPointTest, NoHandleAtAllGivesOutOfMemory)
{
    suite().failNew = true;
    ENTRYPOINT(SelectorFinish, acquire(), &slot, &result);
    EXPECT_EQ(result, ResultOutOfMemory);
    EXPECT_EQ(slot, 0);
}

TEST_F(EntryPointTest, ExistingBlockThatCannotBeLockedGivesOutOfMemoryAndStays)
{
    ENTRYPOINT(7, acquire(), &slot, &result);
    intptr_t before = slot;
    suite().failLock = true;
    ENTRYPOINT(7, acquire(), &slot, &result);
    EXPECT_EQ(result, ResultOutOfMemory);
    EXPECT_EQ(slot, before);
    EXPECT_EQ(suite().disposed, 0);
}

TEST_F(EntryPointTest, EachCallSeesItsOwnResultAndRecord)
{
    std::vector<char> otherRecord(NewestAcquireRecordSize);
    auto* other = reinterpret_cast<AcquireRecord*>(otherRecord.data());
    other->handleProcs = &suite().procs;
    int16_t firstResult = 5;
    int16_t secondResult = 6;

    PluginGlobals* first = FindOrCreateGlobals(&firstResult, acquire(), &suite().procs, sizeof(PluginGlobals),
                                               &slot, InitNewGlobals);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->result, &firstResult);
    EXPECT_EQ(first->record, acquire());
    EXPECT_EQ(firstResult, 0);
    suite().procs.unlockProc(reinterpret_cast<Handle>(slot));

    PluginGlobals* second = FindOrCreateGlobals(&secondResult, other, &suite().procs, sizeof(PluginGlobals),
                                                &slot, InitNewGlobals);
    ASSERT_EQ(second, first) << "the same block, found again";
    EXPECT_EQ(second->result, &secondResult);
    EXPECT_EQ(second->record, other);
    EXPECT_EQ(secondResult, 0);
    EXPECT_EQ(firstResult, 0) << "the earlier result is not written again";
    suite().procs.unlockProc(reinterpret_cast<Handle>(slot));
}

TEST_F(EntryPointTest, ProgressDialogSurvivesFromCallToCallButFreshBlockIsReset)
{
    PluginGlobals* globals = FindOrCreateGlobals(&result, acquire(), &suite().procs, sizeof(PluginGlobals),
                                                 &slot, InitNewGlobals);
    ASSERT_NE(globals, nullptr);
    auto marker = reinterpret_cast<HWND>(0x4242);
    globals->progressDialog = marker;
    ResetFreshGlobals(globals);
    EXPECT_EQ(globals->progressDialog, marker) << "a block that is not fresh keeps its dialog";
    globals->fresh = true;
    ResetFreshGlobals(globals);
    EXPECT_EQ(globals->progressDialog, nullptr);
    EXPECT_FALSE(globals->fresh);
    suite().procs.unlockProc(reinterpret_cast<Handle>(slot));
}

TEST_F(EntryPointTest, UnusableHandleSuiteFallsBackToEmulatedHandles)
{
    suite().procs.handleProcsVersion = 2;
    ENTRYPOINT(7, acquire(), &slot, &result);
    EXPECT_EQ(result, ResultBadParameters);
    ASSERT_NE(slot, 0);
    EXPECT_EQ(suite().created, 0) << "the host's suite is not called";
    auto* header = reinterpret_cast<EmulatedHandleHeader*>(slot);
    EXPECT_EQ(std::string(header->signature, 4), "OTOF");
    DisposeEmulatedHandle(reinterpret_cast<Handle>(slot));
    slot = 0;
}

}  // namespace
