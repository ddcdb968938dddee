#include "hostutil/PluginGlobals.h"

#include "hostutil/HostSuites.h"

PluginGlobals* FindOrCreateGlobals(int16_t* result, AcquireRecord* record, HandleProcs* handleProcs,
                                   int32_t size, intptr_t* data, GlobalsInitRoutine init)
{
    if (*data != 0) {
        auto* globals = reinterpret_cast<PluginGlobals*>(HandleLock(handleProcs, reinterpret_cast<Handle>(*data), true));
        if (globals != nullptr) {
            globals->result = result;
            *result = ResultSuccess;
            globals->record = record;
        }
        return globals;
    }

    Handle handle = HandleNew(handleProcs, size);
    if (handle == nullptr)
        return nullptr;
    auto* globals = reinterpret_cast<PluginGlobals*>(HandleLock(handleProcs, handle, true));
    if (globals == nullptr) {
        // The slot stays 0 so that the next call tries again.
        HandleDispose(handleProcs, handle);
        return nullptr;
    }
    globals->result = result;
    *result = ResultSuccess;
    globals->record = record;
    init(globals);
    // Published only once the block is complete.
    *data = reinterpret_cast<intptr_t>(handle);
    return globals;
}

void InitNewGlobals(PluginGlobals* globals)
{
    globals->fresh = true;
    ResetFreshGlobals(globals);
}

void ResetFreshGlobals(PluginGlobals* globals)
{
    if (globals->fresh) {
        globals->progressDialog = nullptr;
        globals->fresh = false;
    }
}
