// A host buffer suite of the test's own: it hands out real memory, refuses
// what the test tells it to, and remembers every request, so that a test can
// see what the module asked for and that it gave everything back. One shared
// instance (the callbacks are plain C functions); Reset() before each test.
#pragma once

#include <map>
#include <vector>

#include "common/HighMemory.h"
#include "hostapi/HostApi.h"

struct FakeBufferSuite {
    BufferProcs procs{};
    int32_t space = 64 * 1024 * 1024;  // what spaceProc reports
    int32_t largestGranted = INT32_MAX;  // larger requests are refused ...
    OSErr refusal = -108;                // ... with this status
    std::vector<int32_t> requests;       // every size asked for, in order
    int granted = 0;
    int freed = 0;
    int locks = 0;
    int unlocks = 0;
    int unknownFrees = 0;  // frees of ids never handed out (or freed twice)
    std::map<BufferID, HighVector<char>> live;  // above 4 GB in a 64-bit test

    static FakeBufferSuite& Instance();
    void Reset();  // version 2, five procs, 64 MiB free, nothing refused
    int LiveBuffers() const { return int(live.size()); }
    size_t SizeOf(BufferID id) const;
};
