// Finish: releases the image just acquired and moves the scan on to the next.
#include "outputs/OutputScan.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"

void FinishHandler(PluginGlobals* globals)
{
    ReleaseCurrentBitmap();
    AcquireRecord* record = globals->record;
    record->acquireAgain = false;
    if (!MoreEntries)
        return;
    AdvanceScan();
    if (MoreEntries)
        record->acquireAgain = true;  // the next image is current for Start
}
