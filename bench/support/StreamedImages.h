// Test images written and read a row at a time, never as a whole bitmap: the
// benchmarks use images larger than one 32-bit process could hold twice.
// Each writer returns the FNV-1a 64 of the pixels as the host receives them
// (rows top down, RGB, 16-bit samples least significant byte first).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An ICC-like profile for RGB data, of the given size (at least 128 bytes).
std::vector<uint8_t> MakeRgbProfile(size_t size);

// A photograph-like 8-bit RGB JPEG (smooth gradients, some noise); an empty
// profile writes none. False with *error when the file cannot be written.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
               std::string* error);

// Tiles of width x height pixels (multiples of 16); none: strips.
struct TiffTiles {
    uint32_t width = 0;
    uint32_t height = 0;
};

// A 16-bit RGB TIFF, uncompressed, with its checksum known from the writing.
bool WriteTiff16(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
                 uint64_t* checksum, std::string* error, const TiffTiles& tiles = {});

// The checksum of a JPEG decoded independently of the module, with the
// accurate integer transform it asks for.
bool JpegChecksum(const std::string& path, uint64_t* checksum, std::string* error);
