// The bytes of one host row, from the decoder's scan line: every variant the
// processor may run gives the same bytes, at every width.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "decode/RowConversion.h"

namespace {

std::vector<uint8_t> RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (auto& b : bytes)
        b = uint8_t(random());
    return bytes;
}

// Converts with a guard zone after the row, which must stay untouched.
std::vector<uint8_t> Convert(RowConverter convert, const std::vector<uint8_t>& source, size_t width)
{
    std::vector<uint8_t> target(width * 6 + 64, 0xEE);
    convert(source.data(), target.data(), width);
    return target;
}

TEST(RowConversion, BgrPixelArrivesAsRgb)
{
    const std::vector<uint8_t> line{10, 20, 30, 1, 2, 3};
    std::vector<uint8_t> row(6);
    RowConverterFor(PixelLayout::Bgr8)(line.data(), row.data(), 2);
    EXPECT_EQ(row, (std::vector<uint8_t>{30, 20, 10, 3, 2, 1}));
}

TEST(RowConversion, BgraPixelArrivesAsRgbWithoutAlpha)
{
    const std::vector<uint8_t> line{10, 20, 30, 255, 1, 2, 3, 255};
    std::vector<uint8_t> row(6);
    RowConverterFor(PixelLayout::Bgra8)(line.data(), row.data(), 2);
    EXPECT_EQ(row, (std::vector<uint8_t>{30, 20, 10, 3, 2, 1}));
}

TEST(RowConversion, SixteenBitPixelArrivesUnchanged)
{
    const std::vector<uint8_t> line{0x34, 0x12, 0xCD, 0xAB, 0xFF, 0xFF};
    std::vector<uint8_t> row(6);
    RowConverterFor(PixelLayout::Rgb16)(line.data(), row.data(), 1);
    EXPECT_EQ(row, line);
}

TEST(RowConversion, ScalarMatchesThePixelRuleAtEveryWidth)
{
    for (size_t width = 0; width <= 70; ++width) {
        auto bgr = RandomBytes(width * 3, unsigned(width));
        auto bgra = RandomBytes(width * 4, unsigned(width + 1000));
        auto fromBgr = Convert(ConvertBgrRowScalar, bgr, width);
        auto fromBgra = Convert(ConvertBgraRowScalar, bgra, width);
        for (size_t x = 0; x < width; ++x) {
            for (size_t c = 0; c < 3; ++c) {
                ASSERT_EQ(fromBgr[3 * x + c], bgr[3 * x + 2 - c]) << "width " << width << " pixel " << x;
                ASSERT_EQ(fromBgra[3 * x + c], bgra[4 * x + 2 - c]) << "width " << width << " pixel " << x;
            }
        }
        for (size_t i = width * 3; i < fromBgr.size(); ++i) {
            ASSERT_EQ(fromBgr[i], 0xEE) << "written past the row, width " << width;
            ASSERT_EQ(fromBgra[i], 0xEE) << "written past the row, width " << width;
        }
    }
}

TEST(RowConversion, VectorVariantsGiveTheScalarBytesAtEveryWidth)
{
    if (!ProcessorHasSsse3())
        GTEST_SKIP() << "this processor has no SSSE3";
    for (size_t width = 0; width <= 200; ++width) {
        auto bgr = RandomBytes(width * 3, unsigned(width + 7));
        auto bgra = RandomBytes(width * 4, unsigned(width + 77));
        ASSERT_EQ(Convert(ConvertBgrRowSsse3, bgr, width), Convert(ConvertBgrRowScalar, bgr, width)) << "width " << width;
        ASSERT_EQ(Convert(ConvertBgraRowSsse3, bgra, width), Convert(ConvertBgraRowScalar, bgra, width))
            << "width " << width;
    }
}

TEST(RowConversion, VectorVariantsWorkOnUnalignedRows)
{
    if (!ProcessorHasSsse3())
        GTEST_SKIP() << "this processor has no SSSE3";
    const size_t width = 37;
    auto bytes = RandomBytes(width * 4 + 16, 5);
    for (size_t offset = 1; offset < 4; ++offset) {
        std::vector<uint8_t> vector(width * 3 + 8), scalar(width * 3 + 8);
        ConvertBgrRowSsse3(bytes.data() + offset, vector.data() + offset, width);
        ConvertBgrRowScalar(bytes.data() + offset, scalar.data() + offset, width);
        EXPECT_EQ(vector, scalar) << "offset " << offset;
        ConvertBgraRowSsse3(bytes.data() + offset, vector.data() + offset, width);
        ConvertBgraRowScalar(bytes.data() + offset, scalar.data() + offset, width);
        EXPECT_EQ(vector, scalar) << "offset " << offset;
    }
}

TEST(RowConversion, ChosenConverterIsTheVectorOneWhenThereIsSsse3)
{
    const bool vector = ProcessorHasSsse3();
    EXPECT_EQ(RowConverterFor(PixelLayout::Bgr8), vector ? ConvertBgrRowSsse3 : ConvertBgrRowScalar);
    EXPECT_EQ(RowConverterFor(PixelLayout::Bgra8), vector ? ConvertBgraRowSsse3 : ConvertBgraRowScalar);
    EXPECT_EQ(RowConverterFor(PixelLayout::Rgb16), CopyRgb16Row);
}

}  // namespace
