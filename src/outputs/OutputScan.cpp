#include "outputs/OutputScan.h"

#include <windows.h>

#include <cstring>

#include "outputs/HandOffLaunch.h"
#include "outputs/NameClasses.h"
#include "outputs/OutputState.h"

namespace {

constexpr char AllEntries[] = "\\*.*";

bool ScanIsOpen()
{
    return ScanCursor.findHandle != nullptr && ScanCursor.findHandle != INVALID_HANDLE_VALUE;
}

}  // namespace

bool OpenScan()
{
    CloseScan();
    FolderAwaitsRecord = true;
    FolderKeepsLostDng = false;
    // The folder is used as read: a trailing separator is doubled, not removed.
    char pattern[PathCapacity + sizeof AllEntries];
    size_t length = strnlen(OutputFolder, PathCapacity);
    if (length == PathCapacity) {
        MoreEntries = false;
        return false;
    }
    std::memcpy(pattern, OutputFolder, length);
    std::memcpy(pattern + length, AllEntries, sizeof AllEntries);

    ScanCursor.findHandle = FindFirstFileA(pattern, &ScanCursor.findData);
    MoreEntries = ScanIsOpen();
    return MoreEntries;
}

void CloseScan()
{
    if (ScanIsOpen())
        FindClose(ScanCursor.findHandle);
    ScanCursor.findHandle = nullptr;
}

bool TakeEntry()
{
    const WIN32_FIND_DATAA& entry = ScanCursor.findData;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    if (!IsSupportedName(entry.cFileName))
        return false;
    if (IsDngName(entry.cFileName)) {
        CollectDng(entry.cFileName);
        return false;
    }
    return true;
}

void AdvanceScan()
{
    for (;;) {
        MoreEntries = ScanIsOpen() && FindNextFileA(ScanCursor.findHandle, &ScanCursor.findData);
        if (!MoreEntries || TakeEntry())
            return;
    }
}

void WalkRestOfScan()
{
    while (ScanIsOpen() && MoreEntries)
        AdvanceScan();
    CloseScan();
}
