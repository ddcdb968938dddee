// What a file's header promises about its picture, judged before the decoder
// allocates anything for it.
#pragma once

#include <cstdint>

enum class HeaderVerdict {
    Decodable,       // the decoder may go ahead
    Contradictory,   // the header cannot describe a picture: a damaged file
    TooLarge,        // a sound picture larger than a document or the decoder can hold
    UnsupportedLayout,  // a sound picture stored in a way the decoder cannot read
};

// The host describes a document's size in 16-bit signed numbers.
constexpr unsigned LargestHostSide = 32767;

// The largest block the decoder is asked for in one piece. In a 32-bit
// process its sizes are 32-bit (some signed), and no larger free block is
// ever found. In a 64-bit one its sizes are 64-bit and the address space
// (128 TB for a Windows process) is no limit to a picture within the host's
// sides: memory is, and a bitmap the decoder cannot get is its own failure.
constexpr uint64_t LargestDecoderBlock = sizeof(void*) == 4 ? 0x7FFFFFFF : (uint64_t(1) << 47) - 1;

// The decoder's RGBA reader (YCbCr and CIE L*a*b* TIFFs) keeps its signed
// 32-bit block size in either process and refuses a larger picture.
constexpr uint64_t LargestRgbaBlock = 0x7FFFFFFF;

// The verdict on a picture of width x height pixels whose largest whole-
// picture buffer holds bitsPerPixel bits a pixel, in rows padded to 4 bytes
// as the decoder's bitmaps are: a side of 0 contradicts, a side over the
// host's largest or a buffer over LargestDecoderBlock is too large.
HeaderVerdict JudgePictureSize(uint64_t width, uint64_t height, uint64_t bitsPerPixel);
