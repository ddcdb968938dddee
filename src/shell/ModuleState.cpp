#include "shell/ModuleState.h"

HINSTANCE ModuleInstance = nullptr;
char ConverterPath[PathCapacity] = "";
PROCESS_INFORMATION ConverterProcess = {};
int16_t ConverterState = ConverterRunning;
PluginGlobals* DialogGlobals = nullptr;
PlatformData* HostPlatformData = nullptr;
HWND SavedFocus = nullptr;
Boolean CleanupDone = false;
Boolean AboutClosed = false;
char OutputFolder[PathCapacity] = "";
ScanCursorState ScanCursor = {};
Boolean MoreEntries = true;
char HandOffList[HandOffCapacity] = "";
char HandOffBacklog[HandOffBacklogCapacity] = "";
size_t HandOffBacklogLength = 0;
char CurrentImagePath[PathCapacity] = "";
FIBITMAP* CurrentBitmap = nullptr;
