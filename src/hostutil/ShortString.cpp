#include "hostutil/ShortString.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int LongestLength = 255;
constexpr int16_t MostDecimals = 32766;

// Integer part by truncation toward zero, saturated so that a magnitude past
// the 32-bit range (or not a number) cannot make the conversion undefined.
int32_t IntegerPart(double x)
{
    if (!(x > -2147483648.0))
        return x < 0.0 ? INT32_MIN : 0;
    if (x >= 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(x);
}

}  // namespace

void ClearShortString(unsigned char* string)
{
    string[0] = 0;
    string[1] = 0;
}

unsigned char* AppendToShortString(unsigned char* destination, const void* source, int16_t start, int16_t count)
{
    const auto* bytes = static_cast<const unsigned char*>(source);
    int length = destination[0];
    if (length + count > LongestLength)
        count = static_cast<int16_t>(LongestLength - length);
    for (int i = 0; i < count; ++i) {
        ++length;
        destination[length] = bytes[start];
        ++start;
    }
    if (length == LongestLength)
        length = ShortStringKept;
    destination[0] = static_cast<unsigned char>(length);
    destination[length + 1] = 0;
    return destination;
}

void FormatInteger(int32_t value, unsigned char* out)
{
    ClearShortString(out);
    char digits[12];  // "-2147483648" and room to build it backwards
    int first = sizeof digits;
    // The magnitude as unsigned, so that the most negative value has one too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[--first] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits[--first] = '-';
    AppendToShortString(out, digits + first, 0, static_cast<int16_t>(sizeof digits - first));
}

double RaiseToPower(uint32_t base, uint16_t exponent)
{
    double result = 1.0;
    for (uint16_t i = 0; i < exponent; ++i)
        result *= static_cast<double>(base);
    return result;
}

void FormatDecimal(unsigned char* out, double value, int16_t decimals)
{
    int16_t d = decimals < 0 ? int16_t(0) : decimals > MostDecimals ? MostDecimals : decimals;
    bool negative = value < 0.0;
    ClearShortString(out);
    double x = std::fabs(value);

    double t = x * RaiseToPower(10, static_cast<uint16_t>(d));
    double r = (t - std::trunc(t)) * 10.0;
    if (r >= 5.0)
        x += 5.0 / RaiseToPower(10, static_cast<uint16_t>(d + 1));
    // Rounded to a whole number, the one digit after the point is a zero.
    if (d == 0)
        x = std::trunc(x);

    // A single trailing zero is not written: 1.50 is given as 1.5.
    if (d >= 2) {
        t = x * RaiseToPower(10, static_cast<uint16_t>(d - 1));
        r = (t - std::trunc(t)) * 10.0;
        if (r < 1.0)
            --d;
    }

    ShortString integer;
    FormatInteger(IntegerPart(x), integer);
    if (negative)
        AppendToShortString(out, "-", 0, 1);
    AppendToShortString(out, integer, 1, integer[0]);
    AppendToShortString(out, ".", 0, 1);

    double fraction = x - std::trunc(x);
    for (;;) {
        fraction *= 10.0;
        int digit = fraction >= 0.0 && fraction < 10.0 ? static_cast<int>(fraction) : 0;
        char character = static_cast<char>('0' + digit);
        AppendToShortString(out, &character, 0, 1);
        fraction -= digit;
        if (!(fraction > 0.0))
            break;
        if (--d <= 0)
            break;
    }
}

void SubstituteCarets(unsigned char* templ, const unsigned char* text0, const unsigned char* text1,
                      const unsigned char* text2)
{
    static const unsigned char empty[2] = {0, 0};
    const unsigned char* texts[3] = {text0, text1, text2};
    bool caret = false;
    int i = 0;
    while (i < templ[0]) {
        ++i;
        unsigned char c = templ[i];
        if (c == '^') {
            caret = true;
        } else if (caret && c >= '0' && c <= '2') {
            caret = false;
            const unsigned char* replacement = texts[c - '0'] != nullptr ? texts[c - '0'] : empty;
            ShortString before;
            std::memcpy(before, templ, sizeof before);
            ClearShortString(templ);
            AppendToShortString(templ, before, 1, static_cast<int16_t>(i - 2));
            AppendToShortString(templ, replacement, 1, replacement[0]);
            AppendToShortString(templ, before, static_cast<int16_t>(i + 1), static_cast<int16_t>(before[0] - i));
            --i;
        } else {
            caret = false;
        }
    }
}
