#include "outputs/HandOffLaunch.h"

#include <cstring>

#include "converter/RegistryState.h"
#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "outputs/OutputState.h"
#include "platform/ProcessLaunch.h"
#include "ui/Messages.h"

namespace {

// One batch's arguments; as long as any command line can be.
char BatchArguments[LongestCommandLine + 1];

void RecordFolder(std::string_view folder)
{
    char path[PathCapacity];
    if (folder.size() >= sizeof path)
        return;
    std::memcpy(path, folder.data(), folder.size());
    path[folder.size()] = '\0';
    RecordCleanupFolder(path);
}

// Folders whose last waiting file was in the batch just launched. The
// folder of the run still going is left to EndRunOfFolder.
void RecordHandedOffFolders(size_t taken)
{
    size_t offset = 0;
    std::string_view folder;
    while (NextBatchFolder(taken, offset, folder)) {
        if (HandOffWaitsFor(folder, offset))
            continue;
        if ((FolderAwaitsRecord || FolderKeepsLostDng) && folder == OutputFolder)
            continue;
        RecordFolder(folder);
    }
}

}  // namespace

bool FlushHandOffList()
{
    char hostPath[PathCapacity];
    HostExecutablePath(hostPath);
    // Without the host's path nothing can open the files: a failed launch.
    const size_t room = hostPath[0] != '\0' ? ArgumentRoom(hostPath) : 0;
    while (HandOffPending()) {
        const size_t taken = room != 0 ? NextHandOffBatch(BatchArguments, room) : 0;
        if (taken == 0 || StartProcess(hostPath, BatchArguments, false) != 0) {
            ShowMessage(MessageUnsupportedImage);
            return false;
        }
        RecordHandedOffFolders(taken);
        DropHandOffBatch(taken);
    }
    return true;
}

void CollectDng(const char* name)
{
    if (AppendHandOff(OutputFolder, name))
        return;
    // No memory for one more entry: the file stays where it is, with its
    // folder, and the user hears of it once.
    if (!FolderKeepsLostDng)
        ShowMessage(MessageUnsupportedImage);
    FolderKeepsLostDng = true;
}

void EndRunOfFolder()
{
    WalkRestOfScan();
    if (HandOffPending())
        FlushHandOffList();
    if (!FolderAwaitsRecord)
        return;
    FolderAwaitsRecord = false;
    if (!FolderKeepsLostDng && !HandOffWaitsFor(OutputFolder))
        RecordCleanupFolder(OutputFolder);
}
