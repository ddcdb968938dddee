// The built module, loaded as the host loads it.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"
#include "support/TestSupport.h"

typedef void(__cdecl* EntryPointProc)(int16_t selector, void* block, intptr_t* data, int16_t* result);

struct RealModule {
    HMODULE handle = LoadLibraryA(BesideProgram("OmbrixImport.8ba").c_str());
    EntryPointProc entry = handle != nullptr ? reinterpret_cast<EntryPointProc>(
                                                   reinterpret_cast<void*>(GetProcAddress(handle, "ENTRYPOINT")))
                                             : nullptr;

    RealModule() = default;
    ~RealModule()
    {
        if (handle != nullptr)
            FreeLibrary(handle);
    }
    RealModule(const RealModule&) = delete;
    RealModule& operator=(const RealModule&) = delete;
};

// Which language the test run was started for (OMBRIX_EXPECT_LANGUAGE=fr for
// the French run, anything else for English).
inline bool FrenchRun()
{
    char value[8] = "";
    GetEnvironmentVariableA("OMBRIX_EXPECT_LANGUAGE", value, sizeof value);
    return lstrcmpiA(value, "fr") == 0;
}
