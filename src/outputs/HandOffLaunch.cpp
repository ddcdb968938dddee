#include "outputs/HandOffLaunch.h"

#include <cstring>
#include <string_view>

#include "converter/RegistryState.h"
#include "outputs/HandOffList.h"
#include "platform/Paths.h"
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

void RecordFoldersOfBatch(size_t taken)
{
    size_t offset = 0;
    std::string_view folder;
    while (NextRecordInBatch(taken, offset, folder))
        RecordFolder(folder);
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
        RecordFoldersOfBatch(taken);
        DropHandOffBatch(taken);
    }
    return true;
}
