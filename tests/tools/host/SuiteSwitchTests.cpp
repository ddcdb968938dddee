// The switches that vary what the host offers in the record.
#include <gtest/gtest.h>

#include <vector>

#include "host/HostCallbacks.h"

namespace {

class SuiteSwitches : public ::testing::Test {
protected:
    AcquireRecord* Installed()
    {
        callbacks = std::make_unique<HostCallbacks>(options);
        callbacks->BeginRun(&report);
        auto* record = reinterpret_cast<AcquireRecord*>(storage.data());
        callbacks->Install(record);
        return record;
    }

    HostOptions options;
    HostReport report;
    std::unique_ptr<HostCallbacks> callbacks;
    std::vector<uint64_t> storage = std::vector<uint64_t>(NewestAcquireRecordSize / 8 + 1, 0);
};

TEST_F(SuiteSwitches, DefaultsAreTheRealHostsSuites)
{
    AcquireRecord* record = Installed();
    ASSERT_NE(record->handleProcs, nullptr);
    ASSERT_NE(record->bufferProcs, nullptr);
    EXPECT_EQ(record->handleProcs->handleProcsVersion, 1);
    EXPECT_EQ(record->handleProcs->numHandleProcs, 8);
    EXPECT_EQ(record->bufferProcs->bufferProcsVersion, 2);
    EXPECT_EQ(record->bufferProcs->numBufferProcs, 5);
    EXPECT_NE(record->handleProcs->disposeRegularHandleProc, nullptr);
    EXPECT_NE(record->bufferProcs->spaceProc, nullptr);
    EXPECT_NE(record->advanceState, nullptr);
    EXPECT_EQ(record->canUseICCProfiles, 1);
    EXPECT_EQ(record->bufferProcs->spaceProc(), options.bufferSpace);
}

TEST_F(SuiteSwitches, VersionsCountsAndMissingProceduresAreApplied)
{
    options.handleSuite = SuiteOptions{true, 2, 6, {"lock", "disposeRegular"}};
    options.bufferSuite = SuiteOptions{true, 3, 4, {"space"}};
    AcquireRecord* record = Installed();
    EXPECT_EQ(record->handleProcs->handleProcsVersion, 2);
    EXPECT_EQ(record->handleProcs->numHandleProcs, 6);
    EXPECT_EQ(record->handleProcs->lockProc, nullptr);
    EXPECT_EQ(record->handleProcs->disposeRegularHandleProc, nullptr);
    EXPECT_NE(record->handleProcs->unlockProc, nullptr);
    EXPECT_EQ(record->bufferProcs->bufferProcsVersion, 3);
    EXPECT_EQ(record->bufferProcs->numBufferProcs, 4);
    EXPECT_EQ(record->bufferProcs->spaceProc, nullptr);
    EXPECT_NE(record->bufferProcs->freeProc, nullptr);
    EXPECT_TRUE(report.problems.empty());
}

TEST_F(SuiteSwitches, AbsentSuitesAndCallbacksAreNull)
{
    options.handleSuite.present = false;
    options.bufferSuite.present = false;
    options.advanceStatePresent = false;
    options.canUseICCProfiles = false;
    AcquireRecord* record = Installed();
    EXPECT_EQ(record->handleProcs, nullptr);
    EXPECT_EQ(record->bufferProcs, nullptr);
    EXPECT_EQ(record->advanceState, nullptr);
    EXPECT_EQ(record->canUseICCProfiles, 0);
}

TEST_F(SuiteSwitches, UnknownProcedureNamesAreReported)
{
    options.bufferSuite.missingProcs = {"allocte"};
    Installed();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find("allocte"), std::string::npos);
}

TEST_F(SuiteSwitches, HandlesOfOtherOriginAreNotTouched)
{
    AcquireRecord* record = Installed();
    char* foreign = nullptr;
    record->handleProcs->disposeProc(&foreign);
    EXPECT_EQ(record->handleProcs->lockProc(&foreign, 0), nullptr);
    EXPECT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.suites.handlesDisposed, 0);
}

TEST_F(SuiteSwitches, HandlesGrowAndKeepTheirBytes)
{
    AcquireRecord* record = Installed();
    Handle handle = record->handleProcs->newProc(4);
    char* bytes = record->handleProcs->lockProc(handle, 0);
    bytes[0] = 'a';
    bytes[3] = 'd';
    record->handleProcs->unlockProc(handle);
    EXPECT_EQ(record->handleProcs->setSizeProc(handle, 4000), 0);
    EXPECT_EQ(record->handleProcs->getSizeProc(handle), 4000);
    bytes = record->handleProcs->lockProc(handle, 0);
    EXPECT_EQ(bytes[0], 'a');
    EXPECT_EQ(bytes[3], 'd');
    EXPECT_EQ(bytes[3999], 0);
    record->handleProcs->unlockProc(handle);
    record->handleProcs->disposeProc(handle);
    EXPECT_EQ(report.suites.handlesCreated, report.suites.handlesDisposed);
}

}  // namespace
