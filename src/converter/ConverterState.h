// What the converter watch keeps while the module stays loaded.
#pragma once

#include <windows.h>

#include <string>

#include "hostapi/HostApi.h"

struct PluginGlobals;

// Values of ConverterState.
constexpr int16_t ConverterRunning = 0;
constexpr int16_t ConverterExited = 1;
constexpr int16_t ConverterLaunchFailed = -1;

extern std::wstring ConverterPath;  // the converter's executable, as registered
extern PROCESS_INFORMATION ConverterProcess;  // empty process handle: no converter held
extern int16_t ConverterState;
extern Boolean CleanupDone;                   // old output folders deleted in this load
// The progress dialog's view of the import it serves.
extern PluginGlobals* DialogGlobals;
extern PlatformData* HostPlatformData;
extern HWND SavedFocus;
// The progress dialog from its creation to its destruction, whoever ends it.
extern HWND ProgressDialog;
