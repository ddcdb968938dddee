// Finalize: ends the run and hands off the DNG files still waiting.
#include "outputs/OutputScan.h"
#include "converter/ConverterWatch.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"

void FinalizeHandler(PluginGlobals* globals)
{
    CloseProgressDialog(globals);
    // A run the host ended early (a failed Start, a cancelled Continue) left
    // the rest of the folder unscanned: its DNG files go all the same.
    EndRunOfFolder();
}
