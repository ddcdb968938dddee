#include "support/TransferHost.h"

#include <windows.h>

#include <cstring>

#include "common/WideText.h"
#include "selectors/Handlers.h"
#include "selectors/ModuleState.h"
#include "fakehost/FakeAcquireHost.h"
#include "transfer/StripSizing.h"

namespace {
TransferHost* Current = nullptr;
}  // namespace

TransferHost::TransferHost() : record(NewestAcquireRecordSize, 0)
{
    Current = this;
    WireFakeHost(Record(), AdvanceState, Abort, Progress);
}

TransferHost::~TransferHost()
{
    ReleaseCurrentBitmap();
    Buffers().Reset();
    Handles().Reset();
    Current = nullptr;
}

void TransferHost::SetCurrentFile(const std::string& folder, const std::string& name)
{
    OutputFolder = Utf8ToWide(folder);
    ScanCursor.folder = OutputFolder;
    lstrcpynW(ScanCursor.findData.cFileName, Utf8ToWide(name).c_str(), MAX_PATH);
}

bool TransferHost::PlaceCurrentFile(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const TempFolder& folder,
                                    const std::string& name, int flags)
{
    if (!SaveAndUnload(bitmap, format, folder.Inside(name), flags))
        return false;
    SetCurrentFile(folder.Path(), name);
    return true;
}

int16_t TransferHost::Start()
{
    RefusalShown = false;  // each Start as the first of a run: a refusal is shown
    return CallAcquireHandler(StartHandler, Record());
}

int16_t TransferHost::Continue()
{
    return CallAcquireHandler(ContinueHandler, Record());
}

void TransferHost::AskForOneRowStrips(int32_t rowBytes)
{
    Buffers().space = rowBytes * (HostReserveRows + 1);
}

OSErr __cdecl TransferHost::AdvanceState()
{
    TransferHost& host = *Current;
    AcquireRecord* r = host.Record();
    StripSeen seen{r->theRect, r->loPlane, r->hiPlane, r->colBytes, r->rowBytes, r->planeBytes, r->wantReadBack, false};
    const int32_t rows = r->theRect.bottom - r->theRect.top;
    for (auto& [id, bytes] : host.Buffers().live) {
        const char* data = static_cast<const char*>(r->data);
        if (data == bytes.data() && int64_t(rows) * r->rowBytes <= int64_t(bytes.size()))
            seen.dataInLiveBuffer = true;
    }
    host.strips.push_back(seen);

    // Keep the rows where the host would put them.
    HostImage& image = host.received;
    if (image.bytes.empty()) {
        image.width = r->imageSize.h;
        image.height = r->imageSize.v;
        image.bytesPerChannel = r->planeBytes;
        image.bytes.assign(size_t(image.height) * r->rowBytes, 0);
    }
    if (seen.dataInLiveBuffer && r->theRect.top >= 0 && r->theRect.bottom <= image.height)
        std::memcpy(image.bytes.data() + size_t(r->theRect.top) * r->rowBytes, r->data, size_t(rows) * r->rowBytes);

    if (host.failAtStrip == int(host.strips.size()))
        return host.stripFailure;
    return 0;
}

Boolean __cdecl TransferHost::Abort()
{
    TransferHost& host = *Current;
    host.abortPolls++;
    return host.abortPolls == host.abortAtPoll;
}

void __cdecl TransferHost::Progress(int32_t done, int32_t total)
{
    Current->progress.emplace_back(done, total);
}

std::vector<std::string> MessageTexts(const DialogWatcher& watcher)
{
    std::vector<std::string> texts;
    for (const WatchedWindow& window : watcher.Windows())
        texts.push_back(window.MessageText());
    return texts;
}

std::string ModuleMessageText(int id)
{
    char text[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), UINT(id), text, sizeof(text));
    return text;
}
