// Continue as the host sees it: the rows it receives, strip by strip, with
// the fields that describe each strip, and the way a transfer ends.
#include <gtest/gtest.h>

#include "selectors/ModuleState.h"
#include "common/TempFolder.h"
#include "support/TestImages.h"
#include "support/TransferHost.h"

namespace {

class ContinueTest : public ::testing::Test {
protected:
    // Writes, makes current and starts; the host then holds the document.
    void Started(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& name, int flags = 0)
    {
        ASSERT_TRUE(host.PlaceCurrentFile(bitmap, format, folder, name, flags)) << name;
        ASSERT_EQ(host.Start(), 0) << name;
    }

    // Every way out gives every buffer back, and the host's pointer is clear.
    void TearDown() override
    {
        EXPECT_EQ(host.Buffers().LiveBuffers(), 0) << "strip buffer left allocated";
        EXPECT_EQ(host.Buffers().unknownFrees, 0);
        EXPECT_EQ(host.Buffers().unlocks, 0) << "the buffer is freed without a separate unlock";
        EXPECT_LE(host.Buffers().granted, 1) << "one buffer per call";
        EXPECT_EQ(host.Buffers().locks, host.Buffers().granted) << "locked once";
        EXPECT_EQ(host.Record()->data, nullptr);
    }

    void ExpectComplete()
    {
        const Rect& rect = host.Record()->theRect;
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.bottom, 0);
        EXPECT_EQ(rect.right, 0);
        ASSERT_FALSE(host.strips.empty());
        EXPECT_EQ(host.strips.back().rect.bottom, host.Record()->imageSize.v) << "every row was sent";
    }

    TempFolder folder{"ombrix-transfer"};
    TransferHost host;
};

TEST_F(ContinueTest, EightBitTiffArrivesPixelForPixel)
{
    Started(MakeRgb24(37, 23), FIF_TIFF, "a.tif");
    EXPECT_EQ(host.Continue(), 0);
    ExpectComplete();
    ExpectSameImage(host.received, ExpectedRgb24(37, 23));
}

TEST_F(ContinueTest, SixteenBitTiffArrivesWithItsValuesUnchanged)
{
    Started(MakeRgb48(19, 11), FIF_TIFF, "deep.tif");
    EXPECT_EQ(host.Continue(), 0);
    ExpectComplete();
    ExpectSameImage(host.received, ExpectedRgb48(19, 11));
}

// A directory 3 GB into the file is read where it lies, in both modules:
// the decoder's file offsets are not cut to a 32-bit long.
TEST_F(ContinueTest, TiffWithItsDirectoryPastTwoGigabytesArrives)
{
    ASSERT_TRUE(host.PlaceCurrentFile(MakeRgb48(19, 11), FIF_TIFF, folder, "far.tif"));
    ASSERT_TRUE(MoveTiffDirectory(folder.Inside("far.tif"), 0xC0000000u));
    int16_t started = -1;
    {
        DialogWatcher boxes;  // a refusal's message is answered and shown here, not waited on
        started = host.Start();
        EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{});
    }
    ASSERT_EQ(started, 0);
    EXPECT_EQ(host.Continue(), 0);
    ExpectComplete();
    ExpectSameImage(host.received, ExpectedRgb48(19, 11));
}

TEST_F(ContinueTest, OpaqueRgbaTiffArrivesInItsRealColours)
{
    Started(MakeOpaqueRgba32(33, 9), FIF_TIFF, "opaque.tif");
    EXPECT_EQ(host.Continue(), 0);
    ExpectComplete();
    ExpectSameImage(host.received, ExpectedRgb24(33, 9));
}

TEST_F(ContinueTest, JpegArrivesAsAnIndependentDecodeSeesIt)
{
    Started(MakeRgb24(61, 47), FIF_JPEG, "photo.jpg", JPEG_QUALITYGOOD);
    EXPECT_EQ(host.Continue(), 0);
    ExpectComplete();
    ExpectSameImage(host.received, DecodeForComparison(FIF_JPEG, folder.Inside("photo.jpg"), JPEG_ACCURATE));
}

TEST_F(ContinueTest, EightBitStripsAreDescribedAsInterleavedRgb)
{
    Started(MakeRgb24(10, 4), FIF_TIFF, "a.tif");
    host.AskForOneRowStrips(30);
    EXPECT_EQ(host.Continue(), 0);
    ASSERT_EQ(host.strips.size(), 4u);
    for (size_t i = 0; i < host.strips.size(); ++i) {
        const StripSeen& strip = host.strips[i];
        EXPECT_EQ(strip.rect.top, int(i));
        EXPECT_EQ(strip.rect.bottom, int(i) + 1);
        EXPECT_EQ(strip.rect.left, 0);
        EXPECT_EQ(strip.rect.right, 10);
        EXPECT_EQ(strip.loPlane, 0);
        EXPECT_EQ(strip.hiPlane, 2);
        EXPECT_EQ(strip.colBytes, 3);
        EXPECT_EQ(strip.planeBytes, 1);
        EXPECT_EQ(strip.rowBytes, 30);
        EXPECT_FALSE(strip.wantReadBack);
        EXPECT_TRUE(strip.dataInLiveBuffer);
    }
    ExpectComplete();
}

TEST_F(ContinueTest, SixteenBitStripsHaveTwoBytesPerChannel)
{
    Started(MakeRgb48(7, 3), FIF_TIFF, "deep.tif");
    EXPECT_EQ(host.Continue(), 0);
    ASSERT_FALSE(host.strips.empty());
    for (const StripSeen& strip : host.strips) {
        EXPECT_EQ(strip.colBytes, 6);
        EXPECT_EQ(strip.planeBytes, 2);
        EXPECT_EQ(strip.rowBytes, 42);
        EXPECT_EQ(strip.hiPlane, 2);
    }
}

TEST_F(ContinueTest, TwoRowImageSendsTheTopRowFirst)
{
    Started(MakeRgb24(5, 2), FIF_TIFF, "two.tif");
    host.AskForOneRowStrips(15);
    EXPECT_EQ(host.Continue(), 0);
    ASSERT_EQ(host.strips.size(), 2u);
    EXPECT_EQ(host.strips[0].rect.top, 0);
    EXPECT_EQ(host.strips[0].rect.bottom, 1);
    EXPECT_EQ(host.strips[1].rect.top, 1);
    EXPECT_EQ(host.strips[1].rect.bottom, 2);
    ExpectComplete();
    ExpectSameImage(host.received, ExpectedRgb24(5, 2));
}

TEST_F(ContinueTest, TallStripsCarryTheSameBytesAsOneRowStrips)
{
    Started(MakeRgb24(45, 60), FIF_TIFF, "a.tif");
    host.Buffers().space = 45 * 3 * (300 + 25);  // strips of 25 rows
    EXPECT_EQ(host.Continue(), 0);
    EXPECT_EQ(host.strips.size(), 3u) << "25 + 25 + 10 rows";
    EXPECT_EQ(host.Buffers().requests, std::vector<int32_t>{45 * 3 * 25});
    const HostImage tall = host.received;
    ExpectSameImage(tall, ExpectedRgb24(45, 60));

    host.strips.clear();
    host.received = HostImage{};
    host.Buffers().granted = host.Buffers().locks = 0;
    host.AskForOneRowStrips(45 * 3);
    EXPECT_EQ(host.Continue(), 0);
    EXPECT_EQ(host.strips.size(), 60u);
    EXPECT_EQ(host.received.bytes, tall.bytes);
}

TEST_F(ContinueTest, ProgressCountsRowsAndNeverReportsTheLast)
{
    Started(MakeRgb24(4, 5), FIF_TIFF, "a.tif");
    EXPECT_EQ(host.Continue(), 0);
    EXPECT_EQ(host.progress, (std::vector<std::pair<int32_t, int32_t>>{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}}));
    EXPECT_EQ(host.abortPolls, 5);
}

TEST_F(ContinueTest, CancelAtTheSecondPollKeepsOnlyTheFirstStrip)
{
    Started(MakeRgb24(4, 3), FIF_TIFF, "three.tif");
    host.AskForOneRowStrips(12);
    host.abortAtPoll = 2;
    EXPECT_EQ(host.Continue(), -128);
    EXPECT_EQ(host.strips.size(), 1u);
    EXPECT_EQ(host.progress, (std::vector<std::pair<int32_t, int32_t>>{{0, 3}}));
    EXPECT_EQ(host.Record()->theRect.bottom, 1) << "as the last strip left it";
}

TEST_F(ContinueTest, CancelInsideATallStripSendsNothingOfIt)
{
    Started(MakeRgb24(4, 3), FIF_TIFF, "three.tif");
    host.abortAtPoll = 2;
    EXPECT_EQ(host.Continue(), -128);
    EXPECT_TRUE(host.strips.empty());
}

TEST_F(ContinueTest, HostErrorFromAdvanceStateEndsTheTransferWithThatError)
{
    Started(MakeRgb24(4, 3), FIF_TIFF, "three.tif");
    host.AskForOneRowStrips(12);
    host.failAtStrip = 2;
    host.stripFailure = -34;
    EXPECT_EQ(host.Continue(), -34);
    EXPECT_EQ(host.strips.size(), 2u);
}

TEST_F(ContinueTest, HostWithoutAdvanceStateIsWarnedAndGetsNothing)
{
    Started(MakeRgb24(4, 3), FIF_TIFF, "three.tif");
    host.Record()->advanceState = nullptr;
    DialogWatcher boxes;
    EXPECT_EQ(host.Continue(), -128);
    ASSERT_EQ(boxes.Windows().size(), 1u);
    EXPECT_NE(boxes.Windows()[0].MessageText().find(" 3.0 "), std::string::npos) << "the host-version warning";
    EXPECT_TRUE(host.strips.empty());
}

TEST_F(ContinueTest, LessFreeSpaceThanOneRowIsOutOfMemoryWithNothingSent)
{
    Started(MakeRgb24(100, 3), FIF_TIFF, "a.tif");
    host.Buffers().space = 299;
    EXPECT_EQ(host.Continue(), -108);
    EXPECT_TRUE(host.strips.empty());
    EXPECT_TRUE(host.progress.empty());
    EXPECT_TRUE(host.Buffers().requests.empty());
}

TEST_F(ContinueTest, BufferRefusedByTheHostGivesTheHostsStatus)
{
    Started(MakeRgb24(100, 3), FIF_TIFF, "a.tif");
    host.Buffers().largestGranted = 0;
    host.Buffers().refusal = -25;
    EXPECT_EQ(host.Continue(), -25);
    EXPECT_TRUE(host.strips.empty());
    EXPECT_EQ(host.Buffers().requests.size(), 3u) << "three rows, two, one";
}

TEST_F(ContinueTest, UnusableBufferSuiteGivesOutOfMemory)
{
    Started(MakeRgb24(10, 3), FIF_TIFF, "a.tif");
    host.Buffers().procs.numBufferProcs = 4;
    EXPECT_EQ(host.Continue(), -108);
    EXPECT_TRUE(host.strips.empty());
}

TEST_F(ContinueTest, ContinueWithoutAStartedImageSendsNothing)
{
    host.Record()->imageSize = Point{3, 3};
    EXPECT_EQ(host.Continue(), -108);
    EXPECT_TRUE(host.strips.empty());
    EXPECT_EQ(host.Buffers().granted, 0);
}

TEST_F(ContinueTest, SizeThatNoLongerMatchesTheImageSendsNothing)
{
    Started(MakeRgb24(10, 3), FIF_TIFF, "a.tif");
    host.Record()->imageSize.h = 11;
    EXPECT_EQ(host.Continue(), -108);
    EXPECT_TRUE(host.strips.empty());
}

TEST_F(ContinueTest, WidestImageGoesThroughInOneRowStrips)
{
    Started(MakeRgb24(32767, 2), FIF_TIFF, "wide.tif");
    host.AskForOneRowStrips(32767 * 3);
    EXPECT_EQ(host.Continue(), 0);
    EXPECT_EQ(host.strips.size(), 2u);
    ExpectSameImage(host.received, ExpectedRgb24(32767, 2));
}

}  // namespace
