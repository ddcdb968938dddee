// Turning one of the decoder's scan lines into one of the host's interleaved
// RGB rows. The decoder keeps 8-bit pixels in blue, green, red (, alpha)
// order; the host wants red, green, blue. 16-bit pixels are already red,
// green, blue (, alpha) and are copied as they are, without the alpha.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PixelLayout {
    Bgr8,   // 3 bytes per pixel in, 3 out
    Bgra8,  // 4 bytes per pixel in (alpha fully opaque), 3 out
    Rgb16,  // 6 bytes per pixel in, the same 6 out
    Rgba16, // 8 bytes per pixel in (alpha fully opaque), red, green, blue out
};

// Bytes of one pixel in the host's row.
size_t HostPixelBytes(PixelLayout layout);

typedef void (*RowConverter)(const uint8_t* source, uint8_t* target, size_t width);

// The fastest converter for the layout that this processor runs; decided once.
RowConverter RowConverterFor(PixelLayout layout);

// The variants themselves, so that each can be checked against the others.
void ConvertBgrRowScalar(const uint8_t* source, uint8_t* target, size_t width);
void ConvertBgraRowScalar(const uint8_t* source, uint8_t* target, size_t width);
void CopyRgb16Row(const uint8_t* source, uint8_t* target, size_t width);
void DropAlphaRgba16Row(const uint8_t* source, uint8_t* target, size_t width);

bool ProcessorHasSsse3();
// Only to be called when ProcessorHasSsse3().
void ConvertBgrRowSsse3(const uint8_t* source, uint8_t* target, size_t width);
void ConvertBgraRowSsse3(const uint8_t* source, uint8_t* target, size_t width);

// Every x86-64 processor has SSE2; some 32-bit ones and the x86-64 ones
// before SSSE3 have nothing better. Only to be called when ProcessorHasSse2().
bool ProcessorHasSse2();
void ConvertBgrRowSse2(const uint8_t* source, uint8_t* target, size_t width);
