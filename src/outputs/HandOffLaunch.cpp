#include "outputs/HandOffLaunch.h"

#include <string>
#include <string_view>

#include "outputs/HandOffList.h"
#include "outputs/SeenFiles.h"
#include "platform/Paths.h"
#include "platform/ProcessLaunch.h"
#include "ui/Messages.h"

namespace {

// One batch's arguments; as long as any command line can be.
wchar_t BatchArguments[LongestCommandLine + 1];

// Every file of the launched batch reached a host; then each folder whose
// record an entry carries is recorded, when it holds nothing else. Without
// memory on the way, a folder not yet looked at is kept.
void RecordFoldersOfBatch(size_t taken)
{
    try {
        size_t offset = 0;
        std::wstring_view folder;
        std::wstring_view name;
        std::wstring_view identityOf;
        std::wstring identity;
        while (NextFileInBatch(taken, offset, folder, name)) {
            if (identity.empty() || folder != identityOf) {
                identity = FolderIdentity(std::wstring(folder));
                identityOf = folder;
            }
            SettleHandedOff(identity, name);
        }
        offset = 0;
        while (NextRecordInBatch(taken, offset, folder))
            RecordWhenOnlySettled(std::wstring(folder));
    } catch (...) {
        // What was not settled or looked at keeps its folder on disk.
    }
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
