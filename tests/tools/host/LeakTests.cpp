// Buffers and handles the module does not give back, and the profile handle
// the host takes over.
#include <gtest/gtest.h>

#include "TestModuleRun.h"
#include "testmodule/TestPattern.h"

namespace {

TEST(HostLeaks, CleanRunHasNoLeakAndKeepsTheDataSlotHandle)
{
    HostReport report = ImportWithTestModule("height=4");
    EXPECT_TRUE(report.leaks.empty());
    EXPECT_EQ(report.suites.handlesCreated, 1) << "the module's block in the data slot";
    EXPECT_EQ(report.suites.handlesDisposed, 0);
    EXPECT_EQ(report.suites.buffersAllocated, report.suites.buffersFreed);
}

TEST(HostLeaks, BufferNotFreedIsReportedWithItsSizeAndCall)
{
    HostReport report = ImportWithTestModule("width=10;height=4;stripRows=2;leakBuffer=1");
    ASSERT_EQ(report.leaks.size(), 1u);
    EXPECT_EQ(report.leaks[0].kind, "buffer");
    EXPECT_EQ(report.leaks[0].size, 10 * 3 * 2);
    EXPECT_EQ(report.leaks[0].selector, SelectorContinue);
}

TEST(HostLeaks, HandlesNotDisposedAreReported)
{
    HostReport report = ImportWithTestModule("leakHandles=2");
    ASSERT_EQ(report.leaks.size(), 2u);
    for (const LeakRecord& leak : report.leaks) {
        EXPECT_EQ(leak.kind, "handle");
        EXPECT_EQ(leak.selector, SelectorPrepare);
    }
}

TEST(HostLeaks, TheHostTakesAndFreesTheProfileHandle)
{
    HostReport report = ImportWithTestModule("profileBytes=300");
    const DocumentRecord& document = report.documents.at(0);
    EXPECT_TRUE(document.hasProfile);
    EXPECT_EQ(document.profileSizeField, 300);
    ASSERT_EQ(document.profile.size(), 300u);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(document.profile[size_t(i)], TestProfileByte(i)) << "byte " << i;
    EXPECT_EQ(report.suites.handlesDisposed, 1) << "freed by the host after Finish";
    EXPECT_TRUE(report.leaks.empty());
}

TEST(HostLeaks, RefusedProfilesAreNeitherOfferedNorTaken)
{
    HostOptions options;
    options.canUseICCProfiles = false;
    HostReport report = ImportWithTestModule("profileBytes=300", options);
    EXPECT_FALSE(report.documents.at(0).hasProfile);
    EXPECT_TRUE(report.documents[0].profile.empty());
}

TEST(HostLeaks, AllocationsBeyondTheBufferSpaceAreRefused)
{
    HostOptions options;
    options.bufferSpace = 100;
    HostReport report = ImportWithTestModule("width=20;height=2", options);  // 60 bytes a row: fits
    EXPECT_EQ(report.suites.allocationsRefused, 0);
    HostReport tooLarge = ImportWithTestModule("width=20;height=4;stripRows=2", options);  // 120 bytes
    EXPECT_EQ(tooLarge.suites.allocationsRefused, 1);
    EXPECT_EQ(tooLarge.calls.at(2).result, ResultOutOfMemory);
}

}  // namespace
