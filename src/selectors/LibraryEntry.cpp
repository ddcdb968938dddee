// The library's own entry: remembers the instance that owns the module's
// resources, and gives back what a load of the module holds when the host
// unloads it. Nothing else may happen here (the loader lock is held): no
// waiting, no library loaded or freed.
#include <windows.h>

#include "converter/ProgressDialog.h"
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

// The threads library of the module's own build (deps/winpthreads): gives
// back the thread records, the TLS slot, the handles and the locks that the
// C++ runtime made it keep. Nothing may use it afterwards.
extern "C" void pthread_release_np();

// The C runtime's entry point: the static constructors and DllMain at load;
// at unload DllMain, the static destructors and the unwinder's own release.
extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    // A run the host left half-way keeps its search, its bitmap and its
    // progress dialog until here. Files still waiting for a hand-off stay
    // in their folder, which is not recorded for cleanup. At process exit
    // the system takes everything back itself.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        CloseProgressDialogAtUnload();
        CloseScan();
        ReleaseHandOffList();
        ReleaseFilesSeen();
        ReleaseTransferState();
        __gnu_cxx::__freeres();
    }
    return TRUE;
}

// The module's entry point (the link's --entry): the C runtime's, then, at
// an unload while the process goes on, the threads library's release, once
// nothing of the runtime runs any more. A load whose start failed is
// unloaded without a detach: it gives back what it took as well.
extern "C" BOOL WINAPI LibraryEntry(HANDLE instance, DWORD reason, LPVOID reserved)
{
    const BOOL result = DllMainCRTStartup(instance, reason, reserved);
    if ((reason == DLL_PROCESS_DETACH && reserved == nullptr) || (reason == DLL_PROCESS_ATTACH && !result))
        pthread_release_np();
    return result;
}
