// The sizes a header may declare before the decoder allocates, at the edges.
#include <gtest/gtest.h>

#include "decode/PictureSize.h"

namespace {

// What a 32-bit process refuses for want of a 2 GB block a 64-bit one
// decodes: there only the host's sides and its 128 TB address space limit.
constexpr HeaderVerdict OverTwoGigabytes = sizeof(void*) == 4 ? HeaderVerdict::TooLarge : HeaderVerdict::Decodable;

TEST(PictureSize, SidesAndBuffersUpToTheirLimits)
{
    const struct {
        uint64_t width, height, bitsPerPixel;
        HeaderVerdict verdict;
    } cases[] = {
        {32767, 1, 24, HeaderVerdict::Decodable},
        {32768, 1, 24, HeaderVerdict::TooLarge},
        {1, 32767, 24, HeaderVerdict::Decodable},
        {1, 32768, 24, HeaderVerdict::TooLarge},
        {32769, 32768, 32, HeaderVerdict::TooLarge},
        {32768, 32767, 8, HeaderVerdict::TooLarge},
        {0, 5, 24, HeaderVerdict::Contradictory},
        {5, 0, 24, HeaderVerdict::Contradictory},
        {5, 5, 0, HeaderVerdict::Contradictory},
        // Rows of 65,536 bytes: 32,767 of them fit a 2 GB block, and rows
        // of 65,540 (padded to 4 bytes) do not.
        {16384, 32767, 32, HeaderVerdict::Decodable},
        {16385, 32767, 32, OverTwoGigabytes},
        {21845, 32767, 24, HeaderVerdict::Decodable},
        {21846, 32767, 24, OverTwoGigabytes},
        // The largest 8-bit and 16-bit RGB documents; 4 GB of 32-bit pixels.
        {32767, 32767, 24, OverTwoGigabytes},
        {32767, 32767, 48, OverTwoGigabytes},
        {32767, 32767, 32, OverTwoGigabytes},
        // At the largest sides, rows of 1,048,640 bits end just below
        // 2^47 bytes, one bit more just above; nearly 2^32 bits a pixel.
        {32767, 32767, 1048640, OverTwoGigabytes},
        {32767, 32767, 1048641, HeaderVerdict::TooLarge},
        {32767, 32767, uint64_t(65535) * 65535, HeaderVerdict::TooLarge},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JudgePictureSize(c.width, c.height, c.bitsPerPixel), c.verdict)
            << c.width << " x " << c.height << " at " << c.bitsPerPixel << " bits";
}

}  // namespace
