// Whole-number ratios as the host's 16.16 fixed-point values.
#pragma once

#include "hostapi/HostApi.h"

// numerator / denominator in 16.16, truncated toward zero. A zero
// denominator gives the largest value of the numerator's sign
// (0x7FFFFFFF, or 0x80000001 for a negative numerator); the one quotient
// that does not fit (-32768 / -1) is held at 0x7FFFFFFF.
Fixed RatioToFixed(int16_t numerator, int16_t denominator);
