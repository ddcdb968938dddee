// The walk through the converter's output folder and the DNG files waiting
// for a new host instance, carried from one selector call to the next.
#pragma once

#include <windows.h>

#include <cstddef>

#include "hostapi/HostApi.h"
#include "platform/Paths.h"

// The enumeration of the output folder.
struct ScanCursorState {
    HANDLE findHandle;          // INVALID_HANDLE_VALUE or null when closed
    WIN32_FIND_DATAA findData;  // the current entry
};

// The DNG files waiting for a hand-off (outputs/HandOffList.h). The one
// piece of module state that grows: a photographer's folder may hold more
// files than any fixed list, and none may be turned away. Released when the
// module is unloaded.
struct WaitingList {
    char* bytes;      // entries, each followed by a zero
    size_t length;    // bytes in use
    size_t capacity;  // bytes held
};

extern char OutputFolder[PathCapacity];
extern ScanCursorState ScanCursor;
extern Boolean MoreEntries;
extern WaitingList HandOffList;
// OutputFolder is to be recorded for cleanup once its scan has ended and
// none of its DNG files waits any more.
extern Boolean FolderAwaitsRecord;
// A DNG file of OutputFolder could not be kept for a hand-off: the folder
// stays on disk, and the user has been told.
extern Boolean FolderKeepsLostDng;
