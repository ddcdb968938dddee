// The per-call globals block that the host keeps for the module in its data
// slot, and the routines that find or create it.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"

struct PluginGlobals {
    int16_t* result;        // where the current call's result goes
    AcquireRecord* record;  // the current call's parameter block
    HWND progressDialog;    // kept from call to call; null when there is none
    Boolean fresh;          // true from creation until the first reset
};

typedef void (*GlobalsInitRoutine)(PluginGlobals* globals);

// Locks the block held in the data slot, or creates, initialises and
// publishes a new one. Returns the locked block, or null when no memory could
// be had (the slot is then left as it was).
PluginGlobals* FindOrCreateGlobals(int16_t* result, AcquireRecord* record, HandleProcs* handleProcs,
                                   int32_t size, intptr_t* data, GlobalsInitRoutine init);

void InitNewGlobals(PluginGlobals* globals);
void ResetFreshGlobals(PluginGlobals* globals);
