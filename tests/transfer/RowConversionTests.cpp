// The bytes of one host row, from the decoder's scan line: every variant the
// processor may run gives the same bytes, at every width.
#include <gtest/gtest.h>

#include <random>
#include <string>
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

// Each vector variant beside the scalar one it must match, with the bytes a
// source pixel takes.
struct VectorVariant {
    const char* name;
    RowConverter vector;
    RowConverter scalar;
    size_t sourcePixelBytes;
    bool (*available)();
};

const VectorVariant VectorVariants[] = {
    {"BGR SSSE3", ConvertBgrRowSsse3, ConvertBgrRowScalar, 3, ProcessorHasSsse3},
    {"BGRA SSSE3", ConvertBgraRowSsse3, ConvertBgraRowScalar, 4, ProcessorHasSsse3},
    {"BGR SSE2", ConvertBgrRowSse2, ConvertBgrRowScalar, 3, ProcessorHasSse2},
};

TEST(RowConversion, VectorVariantsGiveTheScalarBytesAtEveryWidth)
{
    std::string lacking;
    for (const VectorVariant& variant : VectorVariants) {
        if (!variant.available()) {
            lacking += std::string(" ") + variant.name;
            continue;
        }
        for (size_t width = 0; width <= 200; ++width) {
            auto source = RandomBytes(width * variant.sourcePixelBytes, unsigned(width + 7));
            ASSERT_EQ(Convert(variant.vector, source, width), Convert(variant.scalar, source, width))
                << variant.name << ", width " << width;
        }
    }
    if (!lacking.empty())
        GTEST_SKIP() << "this processor cannot run" << lacking;
}

TEST(RowConversion, VectorVariantsWorkOnUnalignedRows)
{
    const size_t width = 37;
    auto bytes = RandomBytes(width * 4 + 16, 5);
    for (const VectorVariant& variant : VectorVariants) {
        if (!variant.available())
            continue;
        for (size_t offset = 1; offset < 4; ++offset) {
            std::vector<uint8_t> vector(width * 3 + 8), scalar(width * 3 + 8);
            variant.vector(bytes.data() + offset, vector.data() + offset, width);
            variant.scalar(bytes.data() + offset, scalar.data() + offset, width);
            EXPECT_EQ(vector, scalar) << variant.name << ", offset " << offset;
        }
    }
}

TEST(RowConversion, ChosenConverterIsTheBestThisProcessorRuns)
{
    const bool vector = ProcessorHasSsse3();
    EXPECT_EQ(RowConverterFor(PixelLayout::Bgr8),
              vector ? ConvertBgrRowSsse3 : ProcessorHasSse2() ? ConvertBgrRowSse2 : ConvertBgrRowScalar);
    EXPECT_EQ(RowConverterFor(PixelLayout::Bgra8), vector ? ConvertBgraRowSsse3 : ConvertBgraRowScalar);
    EXPECT_EQ(RowConverterFor(PixelLayout::Rgb16), CopyRgb16Row);
}

}  // namespace
