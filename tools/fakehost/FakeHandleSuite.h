// A host handle suite of the test's own that counts what the module does
// with it. Callbacks are plain C functions, so the suite is one shared
// instance; Reset() before each test.
#pragma once

#include <map>

#include "hostapi/HostApi.h"

struct FakeHandleSuite {
    HandleProcs procs{};
    int created = 0;
    int disposed = 0;
    int locks = 0;
    int unlocks = 0;
    bool failNew = false;
    bool failLock = false;
    std::map<Handle, int> lockCount;  // per live handle

    static FakeHandleSuite& Instance();
    void Reset();  // version 1, eight procs, nothing failing, counters 0
    int LiveHandles() const { return created - disposed; }
};
