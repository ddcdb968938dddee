// Prepare: runs the converter, reads the folder it exported into and scans
// it up to the first image, collecting DNG files on the way.
#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "converter/ConverterWatch.h"
#include "converter/RegistryState.h"
#include "ui/HostWarnings.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"

namespace {

// The end of every Prepare that read a folder and did not stop at a first
// image.
void FinishPrepare(PluginGlobals* globals)
{
    CloseProgressDialog(globals);
    if (MoreEntries)
        return;  // an image is current for Start
    if (HandOffPending())
        *globals->result = ResultUserCancelled;  // nothing to acquire in this run
}

// True once the converter's folder value was read: from then on, a Prepare
// that fails hands off what the folder holds itself.
bool RunPrepare(PluginGlobals* globals)
{
    AcquireRecord* record = globals->record;
    RefusalShown = false;
    // A run the host left half-way (no Finish, no Finalize) may still hold
    // its bitmap and its scan: its DNG files are collected to go with this
    // run's, and its folder is kept if a picture of it never arrived.
    ReleaseCurrentBitmap();
    EndScanOfFolder();

    record->maxData = 0;
    // A host without a usable buffer suite cannot take images, but the
    // conversion still runs so that DNG files are handed off.
    if (!CheckBufferSuite(record->bufferProcs, ModuleInstance))
        *globals->result = ResultUserCancelled;
    record->wantFinalize = true;
    ResetFreshGlobals(globals);

    if (!BeginConversion(globals)) {
        *globals->result = ResultOutOfMemory;
        return false;
    }
    if (!WaitForConverter(globals)) {
        CloseProgressDialog(globals);
        *globals->result = ResultUserCancelled;
        return false;
    }
    // The whole status: a failure code whose low half is zero is no success.
    if (ReadOutputFolder(OutputFolder) != 0) {
        *globals->result = ResultUserCancelled;
        return false;
    }
    if (OutputFolder.empty()) {
        *globals->result = ResultUserCancelled;
        FinishPrepare(globals);
        return true;
    }

    bool listed = OpenScan();
    if (!listed)
        *globals->result = ResultUserCancelled;
    record->acquireAgain = false;

    if (listed) {
        if (TakeEntry())
            return true;  // the first entry is an image; the dialog stays until Finalize
        AdvanceScan();
    }
    FinishPrepare(globals);
    return true;
}

}  // namespace

void PrepareHandler(PluginGlobals* globals)
{
    const bool folderRead = RunPrepare(globals);
    if (*globals->result == 0)
        return;
    // The host sends Finalize only after a Prepare that succeeded: nothing
    // else would take the dialog off the screen, or hand off the folder's
    // DNG files.
    CloseProgressDialog(globals);
    if (folderRead)
        EndRunOfFolder();
}
