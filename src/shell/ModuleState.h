// Everything that outlives a single call of the host, for as long as the
// module stays loaded. One place, so that every user is visible by name.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"

struct PluginGlobals;
struct FIBITMAP;

constexpr size_t PathCapacity = 260;        // 259 characters and the terminator
constexpr size_t HandOffCapacity = 5000;    // 4999 characters and the terminator
// DNG entries that did not fit HandOffList while an early hand-off failed:
// whole entries, each followed by a zero, waiting for the next launch.
constexpr size_t HandOffBacklogCapacity = 16 * HandOffCapacity;

// Values of ConverterState.
constexpr int16_t ConverterRunning = 0;
constexpr int16_t ConverterExited = 1;
constexpr int16_t ConverterLaunchFailed = -1;

// The enumeration of the output folder, carried from one call to the next.
struct ScanCursorState {
    HANDLE findHandle;          // INVALID_HANDLE_VALUE or null when closed
    WIN32_FIND_DATAA findData;  // the current entry
};

extern HINSTANCE ModuleInstance;
extern char ConverterPath[PathCapacity];
extern PROCESS_INFORMATION ConverterProcess;
extern int16_t ConverterState;
extern PluginGlobals* DialogGlobals;
extern PlatformData* HostPlatformData;
extern HWND SavedFocus;
extern Boolean CleanupDone;
extern Boolean AboutClosed;
extern char OutputFolder[PathCapacity];
extern ScanCursorState ScanCursor;
extern Boolean MoreEntries;
extern char HandOffList[HandOffCapacity];
extern char HandOffBacklog[HandOffBacklogCapacity];
extern size_t HandOffBacklogLength;
extern char CurrentImagePath[PathCapacity];
extern FIBITMAP* CurrentBitmap;
