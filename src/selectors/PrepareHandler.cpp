// Prepare: runs the converter, reads the folder it exported into and scans
// it up to the first image, collecting DNG files on the way.
#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "converter/ConverterWatch.h"
#include "converter/RegistryState.h"
#include "ui/HostWarnings.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"

namespace {

// The end of every Prepare that did not stop at a first image.
void FinishPrepare(PluginGlobals* globals)
{
    CloseProgressDialog(globals);
    if (MoreEntries)
        return;  // an image is current for Start
    if (HandOffPending()) {
        FlushHandOffList();
        *globals->result = ResultUserCancelled;  // nothing to acquire in this run
    }
}

void RunPrepare(PluginGlobals* globals)
{
    AcquireRecord* record = globals->record;
    record->maxData = 0;
    // A host without a usable buffer suite cannot take images, but the
    // conversion still runs so that DNG files are handed off.
    if (!CheckBufferSuite(record->bufferProcs, ModuleInstance))
        *globals->result = ResultUserCancelled;
    record->wantFinalize = true;
    ResetFreshGlobals(globals);

    if (!BeginConversion(globals)) {
        *globals->result = ResultOutOfMemory;
        return;
    }
    if (!WaitForConverter(globals)) {
        CloseProgressDialog(globals);
        *globals->result = ResultUserCancelled;
        return;
    }
    // The whole status: a failure code whose low half is zero is no success.
    if (ReadOutputFolder(OutputFolder) != 0) {
        *globals->result = ResultUserCancelled;
        return;
    }
    if (OutputFolder[0] == '\0') {
        *globals->result = ResultUserCancelled;
        FinishPrepare(globals);
        return;
    }

    bool listed = OpenScan();
    if (!listed)
        *globals->result = ResultUserCancelled;
    RecordCleanupFolder(OutputFolder);
    record->acquireAgain = false;

    if (listed) {
        if (TakeEntry())
            return;  // the first entry is an image; the dialog stays until Finalize
        AdvanceScan();
    }
    FinishPrepare(globals);
}

}  // namespace

void PrepareHandler(PluginGlobals* globals)
{
    RunPrepare(globals);
    // The host sends Finalize only after a Prepare that succeeded: nothing
    // else would take the dialog off the screen.
    if (*globals->result != 0)
        CloseProgressDialog(globals);
}
