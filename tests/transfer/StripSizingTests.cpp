// How many rows the module asks the host's buffer suite for, and what it
// gets back.
#include <gtest/gtest.h>

#include <vector>

#include "fakehost/FakeBufferSuite.h"
#include "transfer/StripSizing.h"

namespace {

class AllocateStripBufferTest : public ::testing::Test {
protected:
    void SetUp() override { suite().Reset(); }
    void TearDown() override { suite().Reset(); }
    static FakeBufferSuite& suite() { return FakeBufferSuite::Instance(); }

    OSErr Allocate(int32_t rowSize, int16_t minRows, int16_t maxRows, int16_t divisor = 1)
    {
        return AllocateStripBuffer(&suite().procs, rowSize, minRows, maxRows, divisor, &rows, &id);
    }

    int16_t rows = -7;
    BufferID id = reinterpret_cast<BufferID>(0x55);
};

TEST_F(AllocateStripBufferTest, FirstTryIsTheRowsThatFitTheFreeSpace)
{
    suite().space = 1000;
    EXPECT_EQ(Allocate(300, 1, 10), 0);
    EXPECT_EQ(suite().requests, std::vector<int32_t>{900});
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(suite().SizeOf(id), 900u);
}

TEST_F(AllocateStripBufferTest, RefusalsStepDownOneRowAtATime)
{
    suite().space = 1000;
    suite().largestGranted = 300;
    EXPECT_EQ(Allocate(300, 1, 10), 0);
    EXPECT_EQ(suite().requests, (std::vector<int32_t>{900, 600, 300}));
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(suite().LiveBuffers(), 1);
}

TEST_F(AllocateStripBufferTest, EveryRefusalEndsWithTheLastStatusAndNoBuffer)
{
    suite().space = 1000;
    suite().largestGranted = 0;
    suite().refusal = -25;
    EXPECT_EQ(Allocate(300, 1, 10), -25);
    EXPECT_EQ(suite().requests.size(), 3u);
    EXPECT_EQ(id, nullptr);
    EXPECT_EQ(rows, -7) << "rows is written only for a granted buffer";
    EXPECT_EQ(suite().LiveBuffers(), 0);
}

TEST_F(AllocateStripBufferTest, LessSpaceThanOneRowTriesNothing)
{
    suite().space = 200;
    EXPECT_EQ(Allocate(300, 1, 10), 0);
    EXPECT_TRUE(suite().requests.empty());
    EXPECT_EQ(id, nullptr);
    EXPECT_EQ(rows, -7);
}

TEST_F(AllocateStripBufferTest, MaxRowsAndDivisorLimitTheFirstTry)
{
    suite().space = 100000;
    EXPECT_EQ(Allocate(100, 1, 4), 0);
    EXPECT_EQ(suite().requests, std::vector<int32_t>{400});
    suite().Reset();
    suite().space = 1000;
    EXPECT_EQ(Allocate(100, 1, 10, 4), 0);
    EXPECT_EQ(suite().requests, std::vector<int32_t>{200}) << "1000 / 4 / 100 = 2 rows";
}

TEST_F(AllocateStripBufferTest, OneRowIsTheExactEdge)
{
    suite().space = 300;
    EXPECT_EQ(Allocate(300, 1, 1), 0);
    EXPECT_EQ(suite().requests, std::vector<int32_t>{300});
    EXPECT_EQ(rows, 1);
    suite().Reset();
    suite().space = 299;
    EXPECT_EQ(Allocate(300, 1, 1), 0);
    EXPECT_TRUE(suite().requests.empty());
}

TEST_F(AllocateStripBufferTest, UnusableSuiteGivesNoBufferWithoutCallingTheHost)
{
    suite().procs.bufferProcsVersion = 3;
    EXPECT_EQ(Allocate(300, 1, 10), 0) << "no free space reported, so nothing tried";
    EXPECT_TRUE(suite().requests.empty());
    EXPECT_EQ(id, nullptr);
}

TEST_F(AllocateStripBufferTest, HugeFreeSpaceDoesNotOverflowTheRequest)
{
    suite().space = INT32_MAX;
    suite().largestGranted = 0;
    EXPECT_NE(Allocate(196602, 1, 32767), 0);
    ASSERT_FALSE(suite().requests.empty());
    EXPECT_EQ(suite().requests.front(), INT32_MAX / 196602 * 196602);
    for (int32_t size : suite().requests)
        EXPECT_GT(size, 0);
}

TEST(TallStripRows, FreeSpaceLessTheHostsReserve)
{
    EXPECT_EQ(TallStripRows(1000 * 100, 100, 5000), 700);
}

TEST(TallStripRows, NeverBelowOneRow)
{
    EXPECT_EQ(TallStripRows(300 * 100, 100, 5000), 1);
    EXPECT_EQ(TallStripRows(0, 100, 5000), 1);
    EXPECT_EQ(TallStripRows(-5, 100, 5000), 1);
}

TEST(TallStripRows, NeverTallerThanTheImage)
{
    EXPECT_EQ(TallStripRows(64 * 1024 * 1024, 30, 17), 17);
}

TEST(TallStripRows, OneStripBufferStaysWithinTheCap)
{
    const int32_t rowBytes = 2000 * 3;
    const int16_t rows = TallStripRows(INT32_MAX, rowBytes, 4000);
    EXPECT_LE(StripBufferCap, 4 * 1024 * 1024);
    EXPECT_EQ(rows, StripBufferCap / rowBytes);
    EXPECT_LE(int64_t(rows) * rowBytes, StripBufferCap);
    EXPECT_GT(int64_t(rows + 1) * rowBytes, StripBufferCap);
}

TEST(TallStripRows, RowsWiderThanTheCapStillGetOneRow)
{
    EXPECT_EQ(TallStripRows(INT32_MAX, StripBufferCap + 6, 10), 1);
}

}  // namespace
