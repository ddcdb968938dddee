#include "converter/ConverterState.h"

std::wstring ConverterPath;
PROCESS_INFORMATION ConverterProcess = {};
int16_t ConverterState = ConverterRunning;
Boolean CleanupDone = false;
PluginGlobals* DialogGlobals = nullptr;
PlatformData* HostPlatformData = nullptr;
HWND SavedFocus = nullptr;
HWND ProgressDialog = nullptr;
