// The decoding libraries' own fastest way from a file to its pixels, the
// anchor the module's import is measured against: TurboJPEG decompressing to
// RGB, libtiff reading every strip (or tile) into one buffer. Both give the
// rows top down, RGB, 16-bit samples in the processor's order: what the host
// receives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct DecodedPixels {
    std::unique_ptr<uint8_t[]> bytes;  // left uninitialised before the decode, as a decoder's own buffer
    size_t size = 0;
};

bool DecodeJpegWithTurbo(const std::string& path, DecodedPixels* pixels, std::string* error);
bool DecodeTiffWithLibtiff(const std::string& path, DecodedPixels* pixels, std::string* error);
