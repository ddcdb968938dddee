// The walk through the converter's output folder and the DNG files waiting
// for a new host instance, carried from one selector call to the next.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "hostapi/HostApi.h"

// The enumeration of one output folder, and what became of its files so far.
// Only the scan (outputs/OutputScan.h) writes it; the scan of one folder is
// ended, and its folder's fate decided, before another folder's scan opens.
struct ScanCursorState {
    HANDLE findHandle;          // INVALID_HANDLE_VALUE or null when closed
    WIN32_FIND_DATAW findData;  // the current entry
    std::wstring folder;        // the folder listed, as OutputFolder was when the scan opened
    std::wstring identity;      // FolderIdentity of folder: its files' entry in FilesSeen
    // The folder is to be decided on (recorded for cleanup or kept) when
    // its scan ends: set when a scan opens, cleared when it has ended.
    Boolean awaitsRecord;
    // The current entry is a picture that has neither become a document nor
    // been refused for its content.
    Boolean pictureWaits;
    // A picture of the folder was passed over without arriving: the folder
    // stays on disk.
    Boolean keepsPicture;
    // A DNG file of the folder could not be kept for a hand-off: the folder
    // stays on disk, and the user has been told.
    Boolean keepsLostDng;
    // The listing failed for another reason than having no files: what it
    // did not show may be anything.
    Boolean keepsUnlisted;
};

// A file of an output folder as the listing that took it showed it.
struct SeenFile {
    FILETIME written;
    DWORD sizeHigh;
    DWORD sizeLow;
    // It became a document, was refused for its content, or (a DNG file)
    // reached a new host instance; otherwise a DNG file still waiting.
    Boolean settled;
};

// What this load saw of one output folder's files (outputs/SeenFiles.h).
struct SeenFolder {
    std::wstring identity;
    std::map<std::wstring, SeenFile, std::less<>> files;
};

// The DNG files waiting for a hand-off (outputs/HandOffList.h). The one
// piece of module state that grows: a photographer's folder may hold more
// files than any fixed list, and none may be turned away. Released when the
// module is unloaded.
struct WaitingList {
    wchar_t* units;   // entries, each followed by a zero and its record mark
    size_t length;    // units in use
    size_t capacity;  // units held
};

extern std::wstring OutputFolder;
extern ScanCursorState ScanCursor;
extern Boolean MoreEntries;
extern WaitingList HandOffList;
extern std::vector<SeenFolder> FilesSeen;
