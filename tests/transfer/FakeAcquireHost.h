// What the transfer tests and benchmarks share of a host: a record wired to
// the fake suites and the test's callbacks, and a handler called as the
// dispatch calls it.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"
#include "support/FakeBufferSuite.h"
#include "support/FakeHandleSuite.h"

// Resets both fake suites and puts them and the callbacks into the record.
inline void WireFakeHost(AcquireRecord* record, AdvanceStateProc advanceState, AbortProc abort, ProgressProc progress)
{
    ModuleInstance = GetModuleHandleA(nullptr);
    FakeBufferSuite::Instance().Reset();
    FakeHandleSuite::Instance().Reset();
    record->bufferProcs = &FakeBufferSuite::Instance().procs;
    record->handleProcs = &FakeHandleSuite::Instance().procs;
    record->advanceState = advanceState;
    record->abortProc = abort;
    record->progressProc = progress;
    record->canUseICCProfiles = 1;
}

// Runs the handler with a globals block of its own; returns the result.
inline int16_t CallAcquireHandler(void (*handler)(PluginGlobals*), AcquireRecord* record)
{
    int16_t result = 0;
    PluginGlobals globals{&result, record, nullptr, false};
    handler(&globals);
    return result;
}
