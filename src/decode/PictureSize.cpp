#include "decode/PictureSize.h"

HeaderVerdict JudgePictureSize(uint64_t width, uint64_t height, uint64_t bitsPerPixel)
{
    if (width == 0 || height == 0 || bitsPerPixel == 0)
        return HeaderVerdict::Contradictory;
    if (width > LargestHostSide || height > LargestHostSide)
        return HeaderVerdict::TooLarge;
    // Both sides are below 2^15 and a pixel holds fewer than 2^32 bits:
    // nothing here overflows 64 bits.
    const uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * height > LargestDecoderBlock ? HeaderVerdict::TooLarge : HeaderVerdict::Decodable;
}
