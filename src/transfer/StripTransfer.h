// Handing one strip of rows to the host.
#pragma once

#include "hostapi/HostApi.h"

// Where a strip lies in the image: rows top to bottom - 1, every column,
// planes loPlane to hiPlane.
struct StripRect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
    int16_t loPlane;
    int16_t hiPlane;
};

// Byte steps from one row, pixel and channel to the next.
struct StripLayout {
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
};

// Stores the rectangle in the host's top, left, bottom, right order; false
// and nothing written when there is no rectangle.
bool SetHostRect(Rect* rect, int16_t left, int16_t top, int16_t right, int16_t bottom);

// Describes the strip in the record and calls the host's advanceState; data
// is set only for that call. -128 (after the host-version warning) when the
// host has no advanceState, else the host's status.
OSErr SendStrip(AcquireRecord* record, void* data, const StripRect& strip, const StripLayout& layout);
