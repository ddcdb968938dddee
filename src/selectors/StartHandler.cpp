// Acquire selector 1: decode the file the scan left current and describe the
// new document to the host.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "outputs/OutputScan.h"
#include "ui/Messages.h"
#include "ui/HostWarnings.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"
#include "decode/ImageFormats.h"
#include "decode/ImageLoading.h"
#include "outputs/NameClasses.h"
#include "platform/AnsiText.h"
#include "platform/Paths.h"
#include "transfer/RatioToFixed.h"

namespace {

// The host shows the document by an 8-bit name: the file's name in the ANSI
// code page, best fit where it has no character. It names a document only;
// the file itself is always reached by its UTF-16 name.
void SetDocumentName(AcquireRecord* record, const wchar_t* name)
{
    const size_t length = DisplayText(name, reinterpret_cast<char*>(record->filename + 1), sizeof(record->filename));
    record->filename[0] = uint8_t(length);
}

void DescribeDocument(AcquireRecord* record, FIBITMAP* bitmap)
{
    record->imageSize.v = int16_t(FreeImage_GetHeight(bitmap));
    record->imageSize.h = int16_t(FreeImage_GetWidth(bitmap));
    record->imageMode = ImageModeRGB;
    record->depth = HostDepthOf(bitmap);
    record->imageHRes = RatioToFixed(72, 1);
    record->imageVRes = record->imageHRes;
    record->planes = 3;
}

// A copy of the embedded profile in a new host handle, when the host takes
// one. A host that cannot make the handle gets the document without it, and
// a damaged profile is not handed on.
void PassColourProfile(AcquireRecord* record, FIBITMAP* bitmap)
{
    const FIICCPROFILE* profile = ProfileForHost(bitmap);
    const HandleProcs* procs = record->handleProcs;
    if (record->canUseICCProfiles == 0 || profile == nullptr)
        return;
    if (procs == nullptr || procs->newProc == nullptr || procs->lockProc == nullptr || procs->unlockProc == nullptr)
        return;
    const int32_t size = int32_t(profile->size);
    Handle handle = procs->newProc(size);
    if (handle == nullptr)
        return;
    Ptr bytes = procs->lockProc(handle, false);
    if (bytes == nullptr) {
        if (procs->disposeProc != nullptr)
            procs->disposeProc(handle);
        return;
    }
    std::memcpy(bytes, profile->data, profile->size);
    procs->unlockProc(handle);
    record->iCCprofileSize = size;
    record->iCCprofileData = handle;
}

// Decodes the scan's current entry into CurrentBitmap. 0 when it can become
// a document; otherwise the message that refuses it, and whether the file's
// own content is refused (damaged, not supported, too large for any
// document) rather than a file that could not be read or memory that ran out.
int16_t LoadCurrentImage(bool* forContent)
{
    const wchar_t* name = ScanCursor.findData.cFileName;
    LoadRefusal refusal = LoadRefusal::Unavailable;
    const PictureKind kind = IsJpegName(name) ? PictureKind::Jpeg : PictureKind::Tiff;
    if (FileInFolder(ScanCursor.folder.c_str(), name, CurrentImagePath, PathCapacity)) {
        std::FILE* file = _wfopen(CurrentImagePath, L"rb");
        if (file != nullptr) {
            CurrentBitmap = LoadImageFile(file, kind, &refusal);
            std::fclose(file);
        }
    }
    *forContent = true;
    if (CurrentBitmap == nullptr) {
        *forContent = refusal != LoadRefusal::Unavailable;
        return refusal == LoadRefusal::Unsupported ? MessageUnsupportedImage : MessageImportFailed;
    }
    if (!HostTakesBitmap(CurrentBitmap))
        return MessageUnsupportedImage;
    return 0;
}

}  // namespace

void StartHandler(PluginGlobals* globals)
{
    AcquireRecord* record = globals->record;
    if (!CheckBufferSuite(record->bufferProcs, ModuleInstance)) {
        *globals->result = ResultUserCancelled;
        return;
    }

    // A bitmap still held here belongs to a cycle that got no Finish.
    ReleaseCurrentBitmap();
    for (;;) {
        bool forContent = false;
        const int16_t refusal = LoadCurrentImage(&forContent);
        if (refusal == 0)
            break;
        // One refused image ends nothing: the photographer hears of the
        // first of the run, and the scan moves on to the next image.
        ReleaseCurrentBitmap();
        if (!RefusalShown)
            ShowMessage(refusal);
        RefusalShown = true;
        // Only a file refused for what it holds may go with its folder; one
        // that may yet pass keeps it.
        if (forContent)
            SettleCurrentPicture();
        if (MoreEntries)
            AdvanceScan();
        if (!MoreEntries) {
            *globals->result = ResultUserCancelled;
            return;
        }
    }

    SetDocumentName(record, ScanCursor.findData.cFileName);
    DescribeDocument(record, CurrentBitmap);
    PassColourProfile(record, CurrentBitmap);
    record->data = nullptr;
}
