#include "outputs/HandOffLaunch.h"

#include "outputs/HandOffList.h"
#include "platform/ProcessLaunch.h"
#include "ui/Messages.h"
#include "outputs/OutputState.h"

bool FlushHandOffList()
{
    char hostPath[PathCapacity];
    HostExecutablePath(hostPath);
    do {
        if (HandOffList[0] == '\0')
            continue;
        // Without the host's path nothing can open the files: a failed launch.
        if (hostPath[0] == '\0' || StartProcess(hostPath, HandOffList, false) != 0) {
            ShowMessage(MessageUnsupportedImage);
            return false;
        }
        HandOffList[0] = '\0';
    } while (MoveBacklogIntoList());
    return true;
}

void CollectDng(const char* name)
{
    // Files wait in the backlog once it holds any, so that they keep their
    // order and a failed launch is not tried (and reported) again for each.
    if (HandOffBacklogLength == 0) {
        if (AppendHandOff(OutputFolder, name))
            return;
        // The list is full: hand it off now and start a new one with this file.
        if (FlushHandOffList() && AppendHandOff(OutputFolder, name))
            return;
    }
    KeepInBacklog(OutputFolder, name);
}
