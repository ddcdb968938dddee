#include "controller/HandOffLaunch.h"

#include "controller/HandOffList.h"
#include "controller/ProcessLaunch.h"
#include "converter/Messages.h"
#include "shell/ModuleState.h"

bool FlushHandOffList()
{
    char hostPath[PathCapacity];
    HostExecutablePath(hostPath);
    if (hostPath[0] != '\0' && StartProcess(hostPath, HandOffList, false) != 0) {
        ShowMessage(MessageUnsupportedImage);
        return false;
    }
    HandOffList[0] = '\0';
    return true;
}

void CollectDng(const char* name)
{
    if (AppendHandOff(OutputFolder, name))
        return;
    // The list is full: hand it off now and start a new one with this file.
    // If that hand-off fails, the user has just been told so and the full
    // list is kept for the next attempt; there is no room left for this file,
    // which stays in the output folder.
    if (FlushHandOffList())
        AppendHandOff(OutputFolder, name);
}
