// Finalize: ends the run and hands off the DNG files still waiting.
#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "converter/ConverterWatch.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"

void FinalizeHandler(PluginGlobals* globals)
{
    CloseProgressDialog(globals);
    CloseScan();
    if (HandOffPending())
        FlushHandOffList();
}
