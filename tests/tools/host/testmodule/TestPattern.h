// The pixels the test module delivers, so that a test can check every sample
// the host assembled.
#pragma once

#include <cstdint>

inline uint32_t TestSample(int image, int x, int y, int plane, int depth)
{
    uint32_t value = uint32_t(x * 7 + y * 13 + plane * 50 + image * 3);
    return depth == 16 ? (value * 257 + uint32_t(plane) * 11) & 0xFFFF : value & 0xFF;
}

// The bytes of the profile the test module hands over.
inline uint8_t TestProfileByte(int index)
{
    return uint8_t(index * 31 + 7);
}
