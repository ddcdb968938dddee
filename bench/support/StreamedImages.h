// Test images written and read a row at a time, never as a whole bitmap: the
// benchmarks use images larger than one 32-bit process could hold twice.
// Each writer returns the FNV-1a 64 of the pixels as the host receives them
// (rows top down, RGB, 16-bit samples least significant byte first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

// An ICC-like profile for RGB data, of the given size (at least 128 bytes).
std::vector<uint8_t> MakeRgbProfile(size_t size);

// How a JPEG is coded: chroma halved both ways (4:2:0) or kept whole (4:4:4),
// in one scan or progressive.
struct JpegStyle {
    bool fullChroma = false;
    bool progressive = false;
};

// A photograph-like 8-bit RGB JPEG (smooth gradients, some noise); an empty
// profile writes none. False with *error when the file cannot be written.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
               std::string* error, const JpegStyle& style = {});

// Tiles of width x height pixels (multiples of 16); none: strips.
struct TiffTiles {
    uint32_t width = 0;
    uint32_t height = 0;
};

// A 16-bit RGB TIFF, uncompressed, with its checksum known from the writing.
bool WriteTiff16(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
                 uint64_t* checksum, std::string* error, const TiffTiles& tiles = {});

// Samples of 8 (the photograph of WriteJpeg) or 16 bits, uncompressed or
// deflated with horizontal differencing, in strips of the library's default
// size or in tiles.
struct TiffStyle {
    int bits = 16;
    bool deflate = false;
    TiffTiles tiles = {};
};

// libtiff on a file through the C library ("r" or "w", "w8" for BigTIFF): the
// decoder library linked with libtiff replaces TIFFOpen with one that opens
// nothing. Null when the file cannot be opened.
TIFF* OpenTiffFile(const std::string& path, const char* mode);

// An RGB TIFF of that style, with its checksum known from the writing.
bool WriteTiff(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
               const TiffStyle& style, uint64_t* checksum, std::string* error);

// The checksum of a JPEG decoded independently of the module, with the
// accurate integer transform it asks for.
bool JpegChecksum(const std::string& path, uint64_t* checksum, std::string* error);
