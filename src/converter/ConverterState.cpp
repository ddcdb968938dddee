#include "converter/ConverterState.h"

char ConverterPath[PathCapacity] = "";
PROCESS_INFORMATION ConverterProcess = {};
int16_t ConverterState = ConverterRunning;
Boolean CleanupDone = false;
PluginGlobals* DialogGlobals = nullptr;
PlatformData* HostPlatformData = nullptr;
HWND SavedFocus = nullptr;
HWND ProgressDialog = nullptr;
