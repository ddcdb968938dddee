// Documents assembled from the strips a module hands over, whatever their
// height, planes and byte steps.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "TestModuleRun.h"
#include "host/DocumentAssembler.h"
#include "testmodule/TestPattern.h"

namespace {

struct Layout {
    const char* name;
    const char* config;
    int stripsPerPlaneSet;  // strips for the 7-row image
    bool planar;
};

const Layout Layouts[] = {
    {"OneRowStrips", "stripRows=1", 7, false},
    {"TallStrips", "stripRows=3", 3, false},
    {"WholeImageStrip", "stripRows=7", 1, false},
    {"PaddedRows", "stripRows=2;rowPadding=5", 4, false},
    {"OnePlanePerStrip", "stripRows=2;planar=1", 4, true},
};

class StripAssembly : public ::testing::TestWithParam<std::tuple<int, Layout>> {};

TEST_P(StripAssembly, EverySampleArrivesWhereTheRecordSaid)
{
    auto [depth, layout] = GetParam();
    std::string config = "width=9;height=7;depth=" + std::to_string(depth) + ";" + layout.config;
    HostReport report = ImportWithTestModule(config);
    ASSERT_EQ(report.documents.size(), 1u) << (report.problems.empty() ? "" : report.problems[0]);
    const DocumentRecord& document = report.documents[0];
    EXPECT_TRUE(report.problems.empty()) << report.problems.front();
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.samplesWritten, 9 * 7 * 3);
    EXPECT_EQ(document.pixels.size(), size_t(9 * 7 * 3 * depth / 8));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            for (int plane = 0; plane < 3; ++plane)
                ASSERT_EQ(document.Sample(x, y, plane), TestSample(0, x, y, plane, depth))
                    << "x " << x << " y " << y << " plane " << plane;

    size_t expectedStrips = size_t(layout.stripsPerPlaneSet) * (layout.planar ? 3 : 1);
    ASSERT_EQ(document.strips.size(), expectedStrips);
    const StripRecord& last = document.strips.back();
    EXPECT_EQ(last.rect.bottom, 7);
    EXPECT_EQ(last.rect.right, 9);
    EXPECT_EQ(last.loPlane, layout.planar ? 2 : 0);
    EXPECT_EQ(last.hiPlane, 2);
}

INSTANTIATE_TEST_SUITE_P(Depths, StripAssembly,
                         ::testing::Combine(::testing::Values(8, 16), ::testing::ValuesIn(Layouts)),
                         [](const auto& info) {
                             return std::get<1>(info.param).name + std::string("_") +
                                    std::to_string(std::get<0>(info.param)) + "bit";
                         });

TEST(StripAssemblyChecksum, SameImageGivesTheSameChecksumWhateverTheStrips)
{
    HostReport rows = ImportWithTestModule("width=6;height=5;depth=16;stripRows=1");
    HostReport planar = ImportWithTestModule("width=6;height=5;depth=16;stripRows=4;planar=1");
    HostReport other = ImportWithTestModule("width=6;height=5;depth=8;stripRows=1");
    ASSERT_EQ(rows.documents.size(), 1u);
    ASSERT_EQ(planar.documents.size(), 1u);
    EXPECT_EQ(rows.documents[0].checksum, planar.documents[0].checksum);
    EXPECT_NE(rows.documents[0].checksum, other.documents.at(0).checksum);
}

TEST(StripAssemblyBounds, StripDescribedBeyondTheHostsBufferIsRefused)
{
    // Three rows of 12 bytes in a buffer of 36, described 20 bytes apart.
    HostReport report = ImportWithTestModule("width=4;height=3;stripRows=3;describedRowBytes=20");
    const DocumentRecord& document = report.documents.at(0);
    ASSERT_EQ(document.strips.size(), 1u);
    EXPECT_FALSE(document.strips[0].accepted);
    EXPECT_NE(document.strips[0].problem.find("buffer"), std::string::npos) << document.strips[0].problem;
    EXPECT_FALSE(document.complete);
    EXPECT_EQ(document.samplesWritten, 0);
    EXPECT_EQ(report.calls.at(2).result, ResultBadParameters) << "the host refused the strip";
}

TEST(StripAssemblyChecksum, DocumentDescriptionComesFromTheRecord)
{
    HostReport report = ImportWithTestModule("width=12;height=5;depth=16");
    const DocumentRecord& document = report.documents.at(0);
    EXPECT_EQ(document.mode, ImageModeRGB);
    EXPECT_EQ(document.width, 12);
    EXPECT_EQ(document.height, 5);
    EXPECT_EQ(document.depth, 16);
    EXPECT_EQ(document.planes, 3);
    EXPECT_EQ(document.hRes, 0x00480000);
    EXPECT_EQ(document.vRes, 0x00480000);
    ASSERT_EQ(document.progress.size(), 5u);
    EXPECT_EQ(document.progress.back().done, 4);
    EXPECT_EQ(document.progress.back().total, 5);
}

class Assembler : public ::testing::Test {
protected:
    void SetUp() override
    {
        document.width = 4;
        document.height = 3;
        document.depth = 8;
        document.planes = 3;
        ASSERT_EQ(assembler.Begin(&document, &problem), 0) << problem;
    }
    StripRecord Strip(int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t lo, int16_t hi)
    {
        StripRecord strip;
        strip.rect = Rect{top, left, bottom, right};
        strip.loPlane = lo;
        strip.hiPlane = hi;
        strip.colBytes = int16_t(hi - lo + 1);
        strip.rowBytes = strip.colBytes * (right - left);
        strip.planeBytes = 1;
        return strip;
    }

    DocumentRecord document;
    DocumentAssembler assembler;
    std::string problem;
    uint8_t bytes[64] = {};
};

TEST_F(Assembler, StripOutsideTheDocumentIsRefused)
{
    StripRecord strip = Strip(2, 0, 4, 4, 0, 2);
    assembler.AddStrip(bytes, &strip);
    EXPECT_FALSE(strip.accepted);
    EXPECT_NE(strip.problem.find("outside"), std::string::npos) << strip.problem;
}

TEST_F(Assembler, PlanesBeyondTheDocumentAreRefused)
{
    StripRecord strip = Strip(0, 0, 1, 4, 1, 3);
    assembler.AddStrip(bytes, &strip);
    EXPECT_FALSE(strip.accepted);
}

TEST_F(Assembler, StripIsReadOnlyFromWithinTheBufferThatHoldsIt)
{
    for (int i = 0; i < 64; ++i)
        bytes[i] = uint8_t(i + 1);
    StripRecord exact = Strip(0, 0, 2, 4, 0, 2);  // two rows of 12 bytes
    const ByteRange buffer{bytes, bytes + 24};
    assembler.AddStrip(bytes, &exact, &buffer);
    EXPECT_TRUE(exact.accepted) << exact.problem;
    EXPECT_EQ(document.Sample(3, 1, 2), 24u);

    StripRecord shortBuffer = Strip(0, 0, 2, 4, 0, 2);
    const ByteRange oneByteShort{bytes, bytes + 23};
    assembler.AddStrip(bytes, &shortBuffer, &oneByteShort);
    EXPECT_FALSE(shortBuffer.accepted);

    StripRecord backwards = Strip(1, 0, 3, 4, 0, 2);
    backwards.rowBytes = -12;  // rows stored bottom up
    const ByteRange fromTheSecondRow{bytes + 12, bytes + 24};
    assembler.AddStrip(bytes + 12, &backwards, &fromTheSecondRow);
    EXPECT_FALSE(backwards.accepted) << "the second row lies before the buffer";
    const ByteRange both{bytes, bytes + 24};
    assembler.AddStrip(bytes + 12, &backwards, &both);
    EXPECT_TRUE(backwards.accepted) << backwards.problem;
    EXPECT_EQ(document.Sample(0, 2, 0), 1u);
}

TEST_F(Assembler, StripWithoutDataIsRefused)
{
    StripRecord strip = Strip(0, 0, 1, 4, 0, 2);
    assembler.AddStrip(nullptr, &strip);
    EXPECT_FALSE(strip.accepted);
}

TEST_F(Assembler, PartialStripsLeaveTheDocumentIncomplete)
{
    for (int i = 0; i < 64; ++i)
        bytes[i] = uint8_t(i + 1);
    StripRecord strip = Strip(1, 1, 2, 3, 0, 2);  // row 1, columns 1 and 2
    assembler.AddStrip(bytes, &strip);
    EXPECT_TRUE(strip.accepted);
    assembler.End();
    EXPECT_EQ(document.samplesWritten, 6);
    EXPECT_FALSE(document.complete);
    EXPECT_EQ(document.Sample(1, 1, 0), 1u);
    EXPECT_EQ(document.Sample(2, 1, 2), 6u);
    EXPECT_EQ(document.Sample(0, 0, 0), 0u);
}

TEST_F(Assembler, UnsupportedDepthIsRefusedAtTheStart)
{
    DocumentRecord bitmap;
    bitmap.width = 8;
    bitmap.height = 8;
    bitmap.depth = 1;
    bitmap.planes = 1;
    DocumentAssembler other;
    EXPECT_EQ(other.Begin(&bitmap, &problem), ResultBadParameters);
    EXPECT_NE(problem.find("depth 1"), std::string::npos) << problem;
}

}  // namespace
