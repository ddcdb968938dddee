// A host for the transfer benchmarks: the test suites' fake buffer and
// handle suites, an advanceState that copies each strip into the host's
// document as a host does, abort and progress callbacks that cost nothing,
// and a clock.
#pragma once

#include <windows.h>

#include <FreeImage.h>

#include <cstdint>
#include <vector>

#include "hostapi/HostApi.h"

class BenchHost {
public:
    BenchHost();
    ~BenchHost();
    AcquireRecord* Record() { return reinterpret_cast<AcquireRecord*>(record.data()); }
    void SetFreeSpace(int32_t bytes);
    int16_t Start();
    int16_t Continue();
    int Strips() const;
    // The document the strips went into: imageSize.v rows of the strips'
    // rowBytes, top row first. It is made at the first strip and kept (its
    // pages already touched) from one Continue to the next, as the
    // benchmarks keep the target of their memcpy.
    const std::vector<uint8_t>& Document() const { return document; }
    // The next strip starts a new, zero-filled document.
    void ForgetDocument() { document.clear(); }
    // Strips counted and dropped, not copied: what the module's part costs
    // alone. Not what a host does; never for the benchmarks' main figures.
    void DropStrips(bool drop) { dropping = drop; }

    // Called by the host's advanceState.
    OSErr TakeStrip();

private:
    std::vector<char> record;
    std::vector<uint8_t> document;
    int strips = 0;
    bool dropping = false;
};

// The host's part of taking a strip: rows top to bottom - 1 of the document
// (documentRowBytes each) from source, one row every sourceRowBytes.
void CopyStripRows(uint8_t* document, size_t documentRowBytes, const uint8_t* source, size_t sourceRowBytes, int top,
                   int bottom);

// Seconds since an arbitrary start, with the performance counter.
double Now();

// The smallest of runs timings of task (fewest disturbances).
template <typename Task>
double BestOf(int runs, Task task)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        task();
        const double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
    }
    return best;
}

// A photograph-like 24-bit bitmap: smooth gradients with some noise.
FIBITMAP* MakePhotoLikeBitmap(int width, int height);
