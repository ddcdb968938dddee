// The library's own entry: remembers the instance that owns the module's
// resources, and gives back what a load of the module holds when the host
// unloads it. Nothing else may happen here (the loader lock is held): no
// waiting, no library loaded or freed.
#include <windows.h>

#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "outputs/SeenFiles.h"
#include "platform/ModuleInstance.h"
#include "transfer/TransferState.h"

// The C++ runtime's reserve for exceptions thrown when memory runs out,
// set aside at every load; this gives it back (the runtime's own call for
// leak checkers, which no header declares).
namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    // A run the host left half-way keeps its search and its bitmap until
    // here. Files still waiting for a hand-off stay in their folder, which
    // is not recorded for cleanup. At process exit the system takes
    // everything back itself.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        CloseScan();
        ReleaseHandOffList();
        ReleaseFilesSeen();
        ReleaseTransferState();
        __gnu_cxx::__freeres();
    }
    return TRUE;
}
