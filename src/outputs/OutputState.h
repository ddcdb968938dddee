// The walk through the converter's output folder and the DNG files waiting
// for a new host instance, carried from one selector call to the next.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"
#include "platform/Paths.h"
#include "platform/ProcessLaunch.h"

constexpr size_t HandOffCapacity = 5000;  // 4999 characters and the terminator
static_assert(HandOffCapacity - 1 <= LongestProcessArguments, "a whole list must fit one command line");
// DNG entries that did not fit HandOffList while an early hand-off failed:
// whole entries, each followed by a zero, waiting for the next launch.
constexpr size_t HandOffBacklogCapacity = 16 * HandOffCapacity;

// The enumeration of the output folder.
struct ScanCursorState {
    HANDLE findHandle;          // INVALID_HANDLE_VALUE or null when closed
    WIN32_FIND_DATAA findData;  // the current entry
};

extern char OutputFolder[PathCapacity];
extern ScanCursorState ScanCursor;
extern Boolean MoreEntries;
extern char HandOffList[HandOffCapacity];
extern char HandOffBacklog[HandOffBacklogCapacity];
extern size_t HandOffBacklogLength;
