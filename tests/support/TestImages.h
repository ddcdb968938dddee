// Image files with known pixels, written with the decoder's own encoders.
// Paths are UTF-8 and may hold any name (the wide functions underneath).
#pragma once

#include <windows.h>

#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

// Top-down interleaved RGB, 8 or 16 bits per channel (16-bit values least
// significant byte first), exactly as the host receives it.
struct HostImage {
    int width = 0;
    int height = 0;
    int bytesPerChannel = 1;
    std::vector<uint8_t> bytes;
};

// Fails the test at the first byte where the two differ.
void ExpectSameImage(const HostImage& received, const HostImage& expected);

// Pixel value patterns that differ in every channel, row and column.
uint8_t Pattern8(int x, int y, int channel);
uint16_t Pattern16(int x, int y, int channel);

// Bitmaps holding the patterns (caller unloads).
FIBITMAP* MakeRgb24(int width, int height);
FIBITMAP* MakeRgb48(int width, int height);
FIBITMAP* MakeOpaqueRgba32(int width, int height);
FIBITMAP* MakeFloatRgb(int width, int height);
FIBITMAP* MakeGrey8(int width, int height);

// The patterns as the host must receive them.
HostImage ExpectedRgb24(int width, int height);
HostImage ExpectedRgb48(int width, int height);

// Writes and unloads the bitmap; false when the encoder refused.
bool SaveAndUnload(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& path, int flags = 0);

// An uncompressed 24-bit RGB TIFF of the 8-bit pattern, one row per strip,
// its directory before the pixels: cut short, it still opens, and only its
// last rows are missing.
void WriteRowStripTiff(const std::string& path, int width, int height);

// Copies a little-endian classic TIFF's first directory to offset `to`, past
// the file's end (the gap is a hole where the file system allows), and
// points the header at the copy. False if the file is not such a TIFF.
bool MoveTiffDirectory(const std::string& path, uint32_t to);

// Keeps only the first part of a file.
void TruncateFile(const std::string& path, double keptFraction);

// An independent decode of an 8-bit file: the decoder's pixel accessor, one
// pixel at a time, turned top-down.
HostImage DecodeForComparison(FREE_IMAGE_FORMAT format, const std::string& path, int flags);

// A binary PPM (P6, 8 or 16 bits) as the host would receive it; empty when
// the file is missing or not such a file.
HostImage ReadPpm(const std::string& path);

// The bytes of a whole file; empty when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// An ICC-like profile of the given size (at least its 20-byte start) with
// recognisable bytes, for data of the given colour space (four characters).
std::vector<uint8_t> MakeProfileBytes(size_t size, const char* colourSpace = "RGB ");
