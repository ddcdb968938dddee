// Finish: releases the image just acquired and moves the scan on to the next.
#include <windows.h>

#include <FreeImage.h>

#include "controller/OutputScan.h"
#include "shell/ModuleState.h"
#include "shell/PluginGlobals.h"

void FinishHandler(PluginGlobals* globals)
{
    if (CurrentBitmap != nullptr) {
        FreeImage_Unload(CurrentBitmap);
        CurrentBitmap = nullptr;
    }
    AcquireRecord* record = globals->record;
    record->acquireAgain = false;
    if (!MoreEntries)
        return;
    AdvanceScan();
    if (MoreEntries)
        record->acquireAgain = true;  // the next image is current for Start
}
