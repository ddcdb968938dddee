// The order in which the host calls a module, and how it reacts to what the
// module answers.
#include <gtest/gtest.h>

#include <vector>

#include "TestModuleRun.h"
#include "testmodule/TestPattern.h"

namespace {

using Selectors = std::vector<int16_t>;

TEST(HostProtocol, OneImageIsPrepareStartContinueFinishFinalize)
{
    HostReport report = ImportWithTestModule("images=1");
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 2, 3, 5}));
    for (const CallRecord& call : report.calls)
        EXPECT_EQ(call.result, 0) << call.name;
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_TRUE(report.documents[0].complete);
    EXPECT_TRUE(report.problems.empty()) << report.problems.front();
}

TEST(HostProtocol, AcquireAgainStartsAnotherCycle)
{
    HostReport report = ImportWithTestModule("images=3");
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 2, 3, 1, 2, 3, 1, 2, 3, 5}));
    ASSERT_EQ(report.documents.size(), 3u);
    EXPECT_EQ(report.documents[0].filename, "image-1.tif");
    EXPECT_EQ(report.documents[2].filename, "image-3.tif");
    EXPECT_EQ(report.CompleteDocuments(), 3);
    EXPECT_TRUE(report.calls[3].acquireAgain);
    EXPECT_FALSE(report.calls[9].acquireAgain);
}

TEST(HostProtocol, FinishFollowsAFailedContinueAndTheRunEnds)
{
    HostReport report = ImportWithTestModule("images=2;height=4;continueFailAt=1;continueError=-1234");
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 2, 3, 5}));
    EXPECT_EQ(report.calls[2].result, -1234);
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_EQ(report.documents[0].error, -1234);
    EXPECT_FALSE(report.documents[0].complete) << "any error discards the document";
}

TEST(HostProtocol, NoFinishAfterAFailedStart)
{
    HostReport report = ImportWithTestModule("images=2;startFailAt=1;startError=-128");
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 5}));
    EXPECT_EQ(report.calls[1].result, -128);
    EXPECT_TRUE(report.documents.empty());
}

TEST(HostProtocol, FinalizeOnlyWhenTheModuleAskedForIt)
{
    EXPECT_EQ(ImportWithTestModule("wantFinalize=0").Selectors(), (Selectors{4, 1, 2, 3}));
}

TEST(HostProtocol, AFailedPrepareEndsTheRunWithoutFinalize)
{
    HostReport report = ImportWithTestModule("prepareResult=-128;wantFinalize=1");
    EXPECT_EQ(report.Selectors(), (Selectors{4}));
    EXPECT_EQ(report.calls[0].result, -128);
    EXPECT_TRUE(report.calls[0].wantFinalize);
}

TEST(HostProtocol, OtherHostsFinalizeAfterAFailedPrepareOnRequest)
{
    HostOptions options;
    options.finalizeAfterFailedPrepare = true;
    EXPECT_EQ(ImportWithTestModule("prepareResult=-108", options).Selectors(), (Selectors{4, 5}));
    EXPECT_EQ(ImportWithTestModule("prepareResult=-108;wantFinalize=0", options).Selectors(), (Selectors{4}));
}

TEST(HostProtocol, ContinueIsCalledAgainWhileTheModuleReturnsStrips)
{
    HostReport report = ImportWithTestModule("returnStrips=1;height=3;width=5");
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 2, 2, 2, 2, 3, 5}));
    ASSERT_EQ(report.documents.size(), 1u);
    const DocumentRecord& document = report.documents[0];
    ASSERT_EQ(document.strips.size(), 3u);
    EXPECT_FALSE(document.strips[0].viaAdvanceState);
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.Sample(4, 2, 1), TestSample(0, 4, 2, 1, 8));
}

TEST(HostProtocol, AbortProcAnswersTrueFromTheChosenPollOn)
{
    HostOptions options;
    options.abortAtPoll = 2;
    HostReport report = ImportWithTestModule("height=3", options);
    EXPECT_EQ(report.Selectors(), (Selectors{4, 1, 2, 3, 5}));
    EXPECT_EQ(report.calls[2].result, -128);
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_EQ(report.documents[0].strips.size(), 1u) << "the first row went over before the cancel";
    EXPECT_EQ(report.documents[0].abortPolls, 2);
    EXPECT_FALSE(report.documents[0].complete);
}

TEST(HostProtocol, AdvanceStateFailsAtTheChosenStrip)
{
    HostOptions options;
    options.advanceStateErrorAtStrip = 2;
    options.advanceStateError = -36;
    HostReport report = ImportWithTestModule("height=3", options);
    EXPECT_EQ(report.calls[2].result, -36) << "the module passes the host's error back";
    const DocumentRecord& document = report.documents.at(0);
    ASSERT_EQ(document.strips.size(), 2u);
    EXPECT_TRUE(document.strips[0].accepted);
    EXPECT_FALSE(document.strips[1].accepted);
    EXPECT_EQ(document.strips[1].answer, -36);
    EXPECT_FALSE(document.complete);
}

TEST(HostProtocol, ARefusedStripDiscardsTheDocumentEvenWhenContinueSucceeds)
{
    HostOptions options;
    options.advanceStateErrorAtStrip = 1;
    HostReport report = ImportWithTestModule("height=2;ignoreAdvanceErrors=1", options);
    EXPECT_EQ(report.calls.at(2).result, 0);
    EXPECT_FALSE(report.documents.at(0).complete);
    EXPECT_EQ(report.documents.at(0).error, -36);
}

TEST(HostProtocol, AdvanceStateOutsideContinueIsReportedAsAFault)
{
    HostReport report = ImportWithTestModule("advanceInStart=1");
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0], "advanceState called outside Continue (start)");
}

TEST(HostProtocol, WithoutAdvanceStateTheRecordHasNone)
{
    HostOptions options;
    options.advanceStatePresent = false;
    HostReport report = ImportWithTestModule("", options);
    EXPECT_EQ(report.calls.at(2).result, ResultHostInsufficient);
    EXPECT_EQ(report.suites.advanceStateCalls, 0);
}

}  // namespace
