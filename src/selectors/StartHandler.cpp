// Acquire selector 1: decode the file the scan left current and describe the
// new document to the host.
#include <cstdint>
#include <cstring>

#include "ui/Messages.h"
#include "ui/HostWarnings.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"
#include "transfer/ImageFormats.h"
#include "transfer/ImageLoading.h"
#include "transfer/RatioToFixed.h"

namespace {

void Refuse(PluginGlobals* globals, int16_t message)
{
    // The host sends no Finish after a failed Start: nothing else would
    // release the bitmap.
    ReleaseCurrentBitmap();
    ShowMessage(message);
    *globals->result = ResultUserCancelled;
}

// Only bitmaps whose every pixel reaches the host as it is in the file.
bool Describable(FIBITMAP* bitmap)
{
    PixelLayout layout;
    return HostPixelLayoutOf(bitmap, &layout) && FreeImage_GetWidth(bitmap) <= LargestHostSide &&
           FreeImage_GetHeight(bitmap) <= LargestHostSide;
}

void SetDocumentName(AcquireRecord* record, const char* name)
{
    const size_t length = strnlen(name, sizeof(record->filename) - 1);
    record->filename[0] = uint8_t(length);
    std::memcpy(record->filename + 1, name, length);
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

// Bytes 16 to 19 of a profile name the colour space of the data it
// describes. The decoder turns CMYK files into RGB pixels but keeps their
// CMYK profile, which would misdescribe the document.
bool DescribesOtherThanRgb(const FIICCPROFILE* profile)
{
    return profile->size >= 20 && std::memcmp(static_cast<const char*>(profile->data) + 16, "RGB ", 4) != 0;
}

// A profile starts with a 128-byte header, its own size first, big-endian.
// Fewer bytes are no profile; one whose pieces were not all found (a file's
// markers or tag cut short) says more than it holds.
constexpr uint32_t ProfileHeaderSize = 128;

bool HoldsWhatItsHeaderSays(const FIICCPROFILE* profile)
{
    const auto* bytes = static_cast<const uint8_t*>(profile->data);
    if (profile->size < ProfileHeaderSize)
        return false;
    const uint32_t declared = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    return declared == uint32_t(profile->size);
}

// A copy of the embedded profile in a new host handle, when the host takes
// one. A host that cannot make the handle gets the document without it, and
// a damaged profile is not handed on.
void PassColourProfile(AcquireRecord* record, FIBITMAP* bitmap)
{
    const FIICCPROFILE* profile = FreeImage_GetICCProfile(bitmap);
    const HandleProcs* procs = record->handleProcs;
    if (record->canUseICCProfiles == 0 || profile == nullptr || profile->data == nullptr ||
        !HoldsWhatItsHeaderSays(profile) || DescribesOtherThanRgb(profile))
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
    const char* name = ScanCursor.findData.cFileName;
    LoadRefusal refusal = LoadRefusal::Unreadable;
    if (JoinPath(OutputFolder, name, CurrentImagePath, sizeof(CurrentImagePath)))
        CurrentBitmap = LoadImageFile(CurrentImagePath, name, &refusal);
    if (CurrentBitmap == nullptr) {
        Refuse(globals, refusal == LoadRefusal::Unsupported ? MessageUnsupportedImage : MessageImportFailed);
        return;
    }
    if (FreeImage_GetColorType(CurrentBitmap) != FIC_RGB || !Describable(CurrentBitmap)) {
        Refuse(globals, MessageUnsupportedImage);
        return;
    }

    SetDocumentName(record, name);
    DescribeDocument(record, CurrentBitmap);
    PassColourProfile(record, CurrentBitmap);
    record->data = nullptr;
}
