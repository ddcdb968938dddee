#include "decode/RowConversion.h"

#include <cpuid.h>
#include <tmmintrin.h>

#include <array>
#include <cstring>

size_t HostPixelBytes(PixelLayout layout)
{
    return layout == PixelLayout::Rgb16 ? 6 : 3;
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

bool ProcessorHasSsse3()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0)
        return false;
    return (ecx & bit_SSSE3) != 0;
}

namespace {

// Swapping blue and red moves each byte of a 48-byte block (16 pixels) by at
// most two places, so output vector k takes bytes from input vectors k - 1,
// k and k + 1 only. Mask [k][s] picks, for output vector k, the bytes that
// come from input vector s (0x80: none, the shuffle writes zero there).
using ShuffleMask = std::array<uint8_t, 16>;

constexpr ShuffleMask BgrMask(int outputVector, int sourceVector)
{
    ShuffleMask mask{};
    for (int i = 0; i < 16; ++i) {
        const int position = outputVector * 16 + i;
        const int channel = position % 3;
        const int from = position - channel + (2 - channel) - sourceVector * 16;
        mask[i] = from >= 0 && from < 16 ? uint8_t(from) : uint8_t(0x80);
    }
    return mask;
}

constexpr std::array<std::array<ShuffleMask, 3>, 3> BgrMasks = {{
    {BgrMask(0, 0), BgrMask(0, 1), BgrMask(0, 2)},
    {BgrMask(1, 0), BgrMask(1, 1), BgrMask(1, 2)},
    {BgrMask(2, 0), BgrMask(2, 1), BgrMask(2, 2)},
}};

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

}  // namespace

__attribute__((target("ssse3"))) void ConvertBgrRowSsse3(const uint8_t* source, uint8_t* target, size_t width)
{
    __m128i masks[3][3];
    for (int k = 0; k < 3; ++k)
        for (int s = 0; s < 3; ++s)
            masks[k][s] = LoadMask(BgrMasks[k][s]);

    size_t x = 0;
    for (; x + 16 <= width; x += 16, source += 48, target += 48) {
        const __m128i in0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        const __m128i in1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16));
        const __m128i in2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 32));
        const __m128i out0 = _mm_or_si128(_mm_shuffle_epi8(in0, masks[0][0]), _mm_shuffle_epi8(in1, masks[0][1]));
        const __m128i out1 = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(in0, masks[1][0]), _mm_shuffle_epi8(in1, masks[1][1])),
                                          _mm_shuffle_epi8(in2, masks[1][2]));
        const __m128i out2 = _mm_or_si128(_mm_shuffle_epi8(in1, masks[2][1]), _mm_shuffle_epi8(in2, masks[2][2]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), out0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 16), out1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 32), out2);
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
    switch (layout) {
    case PixelLayout::Bgr8:
        return vector ? ConvertBgrRowSsse3 : ConvertBgrRowScalar;
    case PixelLayout::Bgra8:
        return vector ? ConvertBgraRowSsse3 : ConvertBgraRowScalar;
    case PixelLayout::Rgb16:
        break;
    }
    return CopyRgb16Row;
}
