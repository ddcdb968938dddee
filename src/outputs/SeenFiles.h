// What this load saw become of each output folder's files (FilesSeen): the
// DNG files it collected, waiting or handed off, and the pictures that
// settled. A folder is recorded for cleanup only when a listing made at
// that moment shows no file but settled ones, each as it was when it
// settled. Kept for the whole load: a converter may export into one folder
// again, and a folder's last DNG file may go runs after its scan.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// True when the listed DNG file needs no collecting: it waits already, or
// went to a host as the very file listed now.
bool DngAlreadyTaken(std::wstring_view identity, const WIN32_FIND_DATAW& entry);

// Notes the listed file of the folder of that identity, settled or (a DNG
// file) waiting. Without memory for it, the file counts as never settled.
void NoteFileSeen(std::wstring_view identity, const WIN32_FIND_DATAW& entry, bool settled);

// The waiting DNG file name of the folder of that identity reached a host.
void SettleHandedOff(std::wstring_view identity, std::wstring_view name);

// Lists folder now: true when every file directly in it settled as it is
// now (no file at all, or no folder, included). False when anything else
// is there, or the listing fails for any reason but having no files.
// Subfolders are not looked at: the cleanup leaves them.
bool HoldsOnlySettledFiles(const std::wstring& folder);

// The moment of recording: folder is recorded for cleanup when it holds only
// settled files, and otherwise every record of it is dropped.
void RecordWhenOnlySettled(const std::wstring& folder);

// True when a listing that failed with this error saw no file.
bool ListedNothing(DWORD error);

void ReleaseFilesSeen();
