#include "selectors/EntryPoint.h"

#include "hostutil/HostSuites.h"
#include "ui/AboutBox.h"
#include "selectors/Handlers.h"

extern "C" void __cdecl ENTRYPOINT(int16_t selector, void* block, intptr_t* data, int16_t* result)
{
    if (selector == SelectorAbout) {
        ShowAboutBox(static_cast<AboutRecord*>(block));
        return;
    }

    auto* record = static_cast<AcquireRecord*>(block);
    PluginGlobals* globals = FindOrCreateGlobals(result, record, record->handleProcs,
                                                 sizeof(PluginGlobals), data, InitNewGlobals);
    if (globals == nullptr) {
        *result = ResultOutOfMemory;
        return;
    }

    if (selector < SelectorStart || selector > SelectorFinalize) {
        *globals->result = ResultBadParameters;
    } else {
        // Paths are held in strings of any length: a host out of memory for
        // one ends the call as out of memory; nothing is thrown at the host.
        try {
            SelectorTable[selector](globals);
        } catch (...) {
            *globals->result = ResultOutOfMemory;
        }
    }

    if (*data != 0)
        HandleUnlock(globals->record->handleProcs, reinterpret_cast<Handle>(*data));
}
