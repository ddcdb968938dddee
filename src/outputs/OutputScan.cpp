#include "outputs/OutputScan.h"

#include <windows.h>

#include <cstring>

#include "converter/RegistryState.h"
#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "outputs/NameClasses.h"
#include "outputs/OutputState.h"
#include "ui/Messages.h"

namespace {

constexpr char AllEntries[] = "\\*.*";

bool ScanIsOpen()
{
    return ScanCursor.findHandle != nullptr && ScanCursor.findHandle != INVALID_HANDLE_VALUE;
}

// The scan leaves the current picture behind: if it never arrived, its file
// must outlive the cleanup.
void PassOverCurrentPicture()
{
    if (ScanCursor.pictureWaits)
        ScanCursor.keepsPicture = true;
    ScanCursor.pictureWaits = false;
}

// The scan has ended: its folder is recorded at once, or by the hand-off of
// its last waiting DNG file, or not at all when a file of it stays behind.
void DecideOnFolder()
{
    ScanCursorState& scan = ScanCursor;
    if (!scan.awaitsRecord)
        return;
    scan.awaitsRecord = false;
    if (scan.keepsPicture || scan.keepsLostDng)
        return;
    if (!CarryRecordOnLastEntry(scan.folder))
        RecordCleanupFolder(scan.folder);
}

}  // namespace

bool OpenScan()
{
    EndScanOfFolder();
    ScanCursorState& scan = ScanCursor;
    MoreEntries = false;
    const size_t length = strnlen(OutputFolder, PathCapacity);
    if (length == PathCapacity)
        return false;
    std::memcpy(scan.folder, OutputFolder, length + 1);
    scan.awaitsRecord = true;
    scan.pictureWaits = false;
    scan.keepsPicture = false;
    scan.keepsLostDng = false;
    // The folder is listed anew (a converter may export into the same folder
    // twice): what this scan finds decides it, not a record an earlier scan
    // of it left on a waiting file.
    DropRecordsOf(scan.folder);

    // The folder is used as read: a trailing separator is doubled, not removed.
    char pattern[PathCapacity + sizeof AllEntries];
    std::memcpy(pattern, scan.folder, length);
    std::memcpy(pattern + length, AllEntries, sizeof AllEntries);
    scan.findHandle = FindFirstFileA(pattern, &scan.findData);
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
    ScanCursor.pictureWaits = true;
    return true;
}

void AdvanceScan()
{
    PassOverCurrentPicture();
    for (;;) {
        MoreEntries = ScanIsOpen() && FindNextFileA(ScanCursor.findHandle, &ScanCursor.findData);
        if (!MoreEntries || TakeEntry())
            return;
    }
}

void SettleCurrentPicture()
{
    ScanCursor.pictureWaits = false;
}

void CollectDng(const char* name)
{
    if (AppendHandOff(ScanCursor.folder, name))
        return;
    if (!ScanCursor.keepsLostDng)
        ShowMessage(MessageUnsupportedImage);
    ScanCursor.keepsLostDng = true;
}

void EndScanOfFolder()
{
    while (ScanIsOpen() && MoreEntries)
        AdvanceScan();
    PassOverCurrentPicture();
    CloseScan();
    DecideOnFolder();
}

void EndRunOfFolder()
{
    EndScanOfFolder();
    if (HandOffPending())
        FlushHandOffList();
}
