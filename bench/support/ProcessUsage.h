// What a benchmark's process holds, measured from inside it. Wine keeps no
// page-file or working-set counters (they stay at their first value), so
// committed memory is summed over the address space's regions.
#pragma once

#include <cstdint>

struct ProcessUsage {
    uint64_t committed = 0;  // private committed bytes (heaps, bitmaps, documents)
    uint64_t heapBytes = 0;  // bytes in use in all of the process's heaps
    uint32_t handles = 0;    // kernel handles
};

ProcessUsage MeasureProcess();
uint64_t CommittedBytes();

// The largest block of address space that can be had in one piece, and all
// that can be had in pieces of at least a megabyte (reserved, then given back),
// both searched up to SearchCeiling: a 64-bit process that reserved its whole
// address space to measure it would grow until the system ended it.
constexpr uint64_t SearchCeiling = sizeof(void*) == 8 ? uint64_t(64) << 30 : uint64_t(4) << 30;
uint64_t LargestFreeBlock();
uint64_t ReservableBytes();

// Megabytes, for printing.
inline double Mb(uint64_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// Whether the program was started with --quick (a short run that shows the
// program works and prints its ratios; the figures mean little).
bool QuickMode(int argc, char** argv);
