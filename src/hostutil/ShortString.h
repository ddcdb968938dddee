// Length-prefixed strings of 8-bit characters, as the host's records use them:
// byte 0 holds the length, bytes 1 to length the characters. Every operation
// here that changes a string leaves it at 254 characters or fewer with a zero
// byte after the last one, so bytes 1 onward also read as a C string.
#pragma once

#include <cstdint>

constexpr int ShortStringCapacity = 256;  // length byte and up to 255 characters
constexpr int ShortStringKept = 254;      // the most an append leaves

typedef unsigned char ShortString[ShortStringCapacity];

void ClearShortString(unsigned char* string);

// Appends count bytes of source, from source index start, to destination.
// Past 255 characters the count is cut, and a string that reaches 255 drops
// its last character.
unsigned char* AppendToShortString(unsigned char* destination, const void* source, int16_t start, int16_t count);

// Bytes 1 onward as a zero-terminated text.
inline const char* ShortStringText(const unsigned char* string)
{
    return reinterpret_cast<const char*>(string + 1);
}

void FormatInteger(int32_t value, unsigned char* out);
double RaiseToPower(uint32_t base, uint16_t exponent);

// Rounded decimal text with up to `decimals` digits after the point (at
// least one), a single trailing zero dropped.
void FormatDecimal(unsigned char* out, double value, int16_t decimals);

// Replaces ^0, ^1 and ^2 in the template itself by text0, text1 and text2;
// a missing text counts as empty.
void SubstituteCarets(unsigned char* templ, const unsigned char* text0, const unsigned char* text1,
                      const unsigned char* text2);
