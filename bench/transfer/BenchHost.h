// A host for the transfer benchmarks: the test suites' fake buffer and
// handle suites, callbacks that cost nothing, and a clock.
#pragma once

#include <windows.h>

#include <FreeImage.h>

#include <vector>

#include "hostapi/HostApi.h"

class BenchHost {
public:
    BenchHost();
    AcquireRecord* Record() { return reinterpret_cast<AcquireRecord*>(record.data()); }
    void SetFreeSpace(int32_t bytes);
    int16_t Start();
    int16_t Continue();
    int Strips() const;

private:
    std::vector<char> record;
};

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
