// The library's own entry: remembers the instance that owns the module's
// resources, and gives back the waiting list when the host unloads the
// module. Nothing else may happen here (the loader lock is held).
#include <windows.h>

#include "outputs/HandOffList.h"
#include "platform/ModuleInstance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    // Files still waiting stay in their folder, which is not recorded for
    // cleanup. At process exit the system takes the memory back itself.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr)
        ReleaseHandOffList();
    return TRUE;
}
