// The library's own entry: remembers the instance that owns the module's
// resources. Nothing else may happen here (the loader lock is held).
#include <windows.h>

#include "platform/ModuleInstance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    return TRUE;
}
