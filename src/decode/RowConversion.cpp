#include "decode/RowConversion.h"

#include <cpuid.h>
#include <emmintrin.h>
#include <tmmintrin.h>

#include <array>
#include <cstring>

size_t HostPixelBytes(PixelLayout layout)
{
    return layout == PixelLayout::Rgb16 || layout == PixelLayout::Rgba16 ? 6 : 3;
}

void ConvertBgrRowScalar(const uint8_t* source, uint8_t* target, size_t width)
{
    for (size_t x = 0; x < width; ++x, source += 3, target += 3) {
        const uint8_t blue = source[0];
        target[0] = source[2];
        target[1] = source[1];
        target[2] = blue;
    }
}

void ConvertBgraRowScalar(const uint8_t* source, uint8_t* target, size_t width)
{
    for (size_t x = 0; x < width; ++x, source += 4, target += 3) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
    }
}

void CopyRgb16Row(const uint8_t* source, uint8_t* target, size_t width)
{
    std::memcpy(target, source, width * 6);
}

void DropAlphaRgba16Row(const uint8_t* source, uint8_t* target, size_t width)
{
    for (size_t x = 0; x < width; ++x, source += 8, target += 6)
        std::memcpy(target, source, 6);
}

namespace {

// The processor's feature bits (cpuid leaf 1): ecx, edx; none where the
// leaf is missing.
struct FeatureBits {
    unsigned ecx = 0;
    unsigned edx = 0;
};

FeatureBits ProcessorFeatures()
{
    unsigned eax = 0, ebx = 0;
    FeatureBits bits;
    if (__get_cpuid(1, &eax, &ebx, &bits.ecx, &bits.edx) == 0)
        return FeatureBits{};
    return bits;
}

}  // namespace

bool ProcessorHasSsse3()
{
    return (ProcessorFeatures().ecx & bit_SSSE3) != 0;
}

bool ProcessorHasSse2()
{
    return (ProcessorFeatures().edx & bit_SSE2) != 0;
}

namespace {

using ShuffleMask = std::array<uint8_t, 16>;

// Five pixels (15 bytes) turned round by one shuffle of 16 bytes: loads
// and stores step by 15 bytes and overlap by one, the next store putting
// the right byte over the previous one's 16th. Fewer instructions than
// gathering each output vector from three inputs, and the same bytes.
constexpr ShuffleMask BgrFiveMask()
{
    ShuffleMask mask{};
    for (int i = 0; i < 16; ++i)
        mask[i] = i < 15 ? uint8_t(i - i % 3 + 2 - i % 3) : uint8_t(15);
    return mask;
}

constexpr ShuffleMask BgrFive = BgrFiveMask();

// Four BGRA pixels into twelve RGB bytes at the bottom of the vector.
constexpr ShuffleMask BgraMask()
{
    ShuffleMask mask{};
    for (int i = 0; i < 16; ++i)
        mask[i] = i < 12 ? uint8_t((i / 3) * 4 + (2 - i % 3)) : uint8_t(0x80);
    return mask;
}

constexpr ShuffleMask BgraPack = BgraMask();

__attribute__((target("ssse3"))) inline __m128i LoadMask(const ShuffleMask& mask)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

// Without a byte shuffle, the same five pixels: each pixel's first byte
// comes from two bytes on, its last from two bytes back, the middle one
// stays. Byte 15 is left zero for the next store to put right.
constexpr ShuffleMask ChannelMask(int channel)
{
    ShuffleMask mask{};
    for (int i = 0; i < 15; ++i)
        mask[i] = i % 3 == channel ? 0xFF : 0;
    return mask;
}

constexpr ShuffleMask FirstBytes = ChannelMask(0);
constexpr ShuffleMask MiddleBytes = ChannelMask(1);
constexpr ShuffleMask LastBytes = ChannelMask(2);

struct Sse2ChannelMasks {
    __m128i first, middle, last;
};

__attribute__((target("sse2"))) inline void ConvertFiveBgrSse2(const uint8_t* source, uint8_t* target,
                                                             const Sse2ChannelMasks& masks)
{
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    const __m128i first = _mm_and_si128(_mm_srli_si128(in, 2), masks.first);
    const __m128i last = _mm_and_si128(_mm_slli_si128(in, 2), masks.last);
    const __m128i out = _mm_or_si128(_mm_or_si128(first, last), _mm_and_si128(in, masks.middle));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), out);
}

__attribute__((target("sse2"))) inline __m128i LoadMaskSse2(const ShuffleMask& mask)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

__attribute__((target("ssse3"))) inline void ConvertFiveBgr(const uint8_t* source, uint8_t* target, __m128i mask)
{
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_shuffle_epi8(in, mask));
}

}  // namespace

__attribute__((target("ssse3"))) void ConvertBgrRowSsse3(const uint8_t* source, uint8_t* target, size_t width)
{
    const __m128i mask = LoadMask(BgrFive);
    // Twenty pixels a turn; each 16-byte load and store reaches one byte
    // into the next pixel, so a turn needs one pixel after it.
    size_t x = 0;
    for (; x + 21 <= width; x += 20, source += 60, target += 60) {
        ConvertFiveBgr(source, target, mask);
        ConvertFiveBgr(source + 15, target + 15, mask);
        ConvertFiveBgr(source + 30, target + 30, mask);
        ConvertFiveBgr(source + 45, target + 45, mask);
    }
    ConvertBgrRowScalar(source, target, width - x);
}

__attribute__((target("sse2"))) void ConvertBgrRowSse2(const uint8_t* source, uint8_t* target, size_t width)
{
    const Sse2ChannelMasks masks{LoadMaskSse2(FirstBytes), LoadMaskSse2(MiddleBytes), LoadMaskSse2(LastBytes)};
    // As the SSSE3 variant: twenty pixels a turn, one pixel after it.
    size_t x = 0;
    for (; x + 21 <= width; x += 20, source += 60, target += 60) {
        ConvertFiveBgrSse2(source, target, masks);
        ConvertFiveBgrSse2(source + 15, target + 15, masks);
        ConvertFiveBgrSse2(source + 30, target + 30, masks);
        ConvertFiveBgrSse2(source + 45, target + 45, masks);
    }
    ConvertBgrRowScalar(source, target, width - x);
}

__attribute__((target("ssse3"))) void ConvertBgraRowSsse3(const uint8_t* source, uint8_t* target, size_t width)
{
    const __m128i pack = LoadMask(BgraPack);
    size_t x = 0;
    for (; x + 16 <= width; x += 16, source += 64, target += 48) {
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source)), pack);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16)), pack);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 32)), pack);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 48)), pack);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    ConvertBgraRowScalar(source, target, width - x);
}

RowConverter RowConverterFor(PixelLayout layout)
{
    static const bool vector = ProcessorHasSsse3();
    static const bool sse2 = ProcessorHasSse2();
    switch (layout) {
    case PixelLayout::Bgr8:
        return vector ? ConvertBgrRowSsse3 : sse2 ? ConvertBgrRowSse2 : ConvertBgrRowScalar;
    case PixelLayout::Bgra8:
        return vector ? ConvertBgraRowSsse3 : ConvertBgraRowScalar;
    case PixelLayout::Rgba16:
        return DropAlphaRgba16Row;
    case PixelLayout::Rgb16:
        break;
    }
    return CopyRgb16Row;
}
