// Finalize: ends the run and hands off the DNG files still waiting.
#include "controller/HandOffLaunch.h"
#include "controller/HandOffList.h"
#include "controller/OutputScan.h"
#include "converter/ConverterWatch.h"
#include "shell/ModuleState.h"
#include "shell/PluginGlobals.h"

void FinalizeHandler(PluginGlobals* globals)
{
    CloseProgressDialog(globals);
    CloseScan();
    if (HandOffPending())
        FlushHandOffList();
}
