#include "transfer/RatioToFixed.h"

Fixed RatioToFixed(int16_t numerator, int16_t denominator)
{
    constexpr Fixed Largest = 0x7FFFFFFF;
    if (denominator == 0)
        return numerator < 0 ? -Largest : Largest;
    const int32_t scaled = int32_t(numerator) * 65536;  // fits: |numerator| <= 32768
    if (denominator == -1 && scaled == INT32_MIN)
        return Largest;
    return scaled / denominator;
}
