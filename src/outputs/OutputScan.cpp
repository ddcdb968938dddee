#include "outputs/OutputScan.h"

#include <windows.h>

#include "converter/RegistryState.h"
#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "outputs/NameClasses.h"
#include "outputs/OutputState.h"
#include "outputs/SeenFiles.h"
#include "platform/Paths.h"
#include "ui/Messages.h"

namespace {

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

// A listing that ended for any reason but having no more files keeps its
// folder.
void NoteListingEnd()
{
    if (GetLastError() != ERROR_NO_MORE_FILES)
        ScanCursor.keepsUnlisted = true;
}

// The scan has ended: its folder is recorded at once, or by the hand-off of
// its last waiting DNG file, when it then holds only files that settled; it
// is kept when a file of it stays behind.
void DecideOnFolder()
{
    ScanCursorState& scan = ScanCursor;
    if (!scan.awaitsRecord)
        return;
    scan.awaitsRecord = false;
    if (scan.keepsPicture || scan.keepsLostDng || scan.keepsUnlisted) {
        ForgetCleanupFolder(scan.folder);
        return;
    }
    if (!CarryRecordOnLastEntry(scan.folder))
        RecordWhenOnlySettled(scan.folder);
}

}  // namespace

bool OpenScan()
{
    EndScanOfFolder();
    ScanCursorState& scan = ScanCursor;
    MoreEntries = false;
    scan.folder = OutputFolder;
    scan.awaitsRecord = true;
    scan.pictureWaits = false;
    scan.keepsPicture = false;
    scan.keepsLostDng = false;
    scan.keepsUnlisted = false;
    scan.identity = FolderIdentity(scan.folder);
    // The folder is listed anew (a converter may export into the same folder
    // twice): what this scan finds decides it, not a record an earlier scan
    // of it left on a waiting file or in the registry, from this load or an
    // earlier one.
    DropRecordsOf(scan.folder);
    ForgetCleanupFolder(scan.folder);

    // Listed through the long form: a folder of any length, any name.
    std::wstring pattern;
    const bool named = FileInFolder(scan.folder, L"*", pattern);
    scan.findHandle = named ? FindFirstFileW(pattern.c_str(), &scan.findData) : INVALID_HANDLE_VALUE;
    MoreEntries = ScanIsOpen();
    if (!MoreEntries && (!named || !ListedNothing(GetLastError())))
        scan.keepsUnlisted = true;
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
    const WIN32_FIND_DATAW& entry = ScanCursor.findData;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    // A name that could lead out of the folder is no file of it.
    if (!IsPlainName(entry.cFileName) || !IsSupportedName(entry.cFileName))
        return false;
    if (IsDngName(entry.cFileName)) {
        CollectDng(entry);
        return false;
    }
    ScanCursor.pictureWaits = true;
    return true;
}

void AdvanceScan()
{
    PassOverCurrentPicture();
    for (;;) {
        if (!ScanIsOpen()) {
            MoreEntries = false;
            return;
        }
        MoreEntries = FindNextFileW(ScanCursor.findHandle, &ScanCursor.findData);
        if (!MoreEntries)
            NoteListingEnd();
        if (!MoreEntries || TakeEntry())
            return;
    }
}

void SettleCurrentPicture()
{
    ScanCursor.pictureWaits = false;
    NoteFileSeen(ScanCursor.identity, ScanCursor.findData, true);
}

void CollectDng(const WIN32_FIND_DATAW& entry)
{
    // However often its folder is listed, a file goes to a host once.
    if (DngAlreadyTaken(ScanCursor.identity, entry))
        return;
    if (AppendHandOff(ScanCursor.folder, entry.cFileName)) {
        NoteFileSeen(ScanCursor.identity, entry, false);
        return;
    }
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
