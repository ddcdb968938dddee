#include "outputs/HandOffLaunch.h"

#include <string>
#include <string_view>

#include "converter/RegistryState.h"
#include "outputs/HandOffList.h"
#include "platform/ProcessLaunch.h"
#include "ui/Messages.h"

namespace {

// One batch's arguments; as long as any command line can be.
wchar_t BatchArguments[LongestCommandLine + 1];

void RecordFoldersOfBatch(size_t taken)
{
    size_t offset = 0;
    std::wstring_view folder;
    while (NextRecordInBatch(taken, offset, folder))
        RecordCleanupFolder(folder);
}

}  // namespace

bool FlushHandOffList()
{
    const std::wstring hostPath = HostExecutablePath();
    // Without the host's path nothing can open the files: a failed launch.
    const size_t room = !hostPath.empty() ? ArgumentRoom(hostPath.c_str()) : 0;
    while (HandOffPending()) {
        const size_t taken = room != 0 ? NextHandOffBatch(BatchArguments, room) : 0;
        if (taken == 0 || StartProcess(hostPath.c_str(), BatchArguments, false) != 0) {
            ShowMessage(MessageUnsupportedImage);
            return false;
        }
        RecordFoldersOfBatch(taken);
        DropHandOffBatch(taken);
    }
    return true;
}
