#include "transfer/ImageLoading.h"

#include <cstring>

#include "controller/NameClasses.h"
#include "shell/ModuleState.h"
#include "transfer/ImageFormats.h"

bool JoinImagePath(const char* folder, const char* name, char* target, size_t capacity)
{
    if (capacity == 0)
        return false;
    target[0] = '\0';
    const size_t folderLength = std::strlen(folder);
    const size_t nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength >= capacity)
        return false;
    std::memcpy(target, folder, folderLength);
    target[folderLength] = '\\';
    std::memcpy(target + folderLength + 1, name, nameLength + 1);
    return true;
}

namespace {

bool DecoderReportedError = false;

void NoteDecoderMessage(FREE_IMAGE_FORMAT, const char*)
{
    DecoderReportedError = true;
}

// Once per load of the module, on first use: never from the library's entry
// function, where the loader lock is held.
void EnsureDecoderInitialised()
{
    static bool initialised = false;
    if (!initialised) {
        FreeImage_Initialise(TRUE);  // TRUE: no plugin files from the host's folder
        initialised = true;
    }
}

}  // namespace

FIBITMAP* LoadImageFile(const char* path, const char* name)
{
    FREE_IMAGE_FORMAT format;
    int flags;
    if (IsJpegName(name)) {
        format = FIF_JPEG;
        flags = JPEG_ACCURATE;
    } else if (IsTiffName(name)) {
        format = FIF_TIFF;
        flags = TIFF_DEFAULT;
    } else {
        return nullptr;
    }

    EnsureDecoderInitialised();
    DecoderReportedError = false;
    FreeImage_SetOutputMessage(NoteDecoderMessage);
    FIBITMAP* bitmap = FreeImage_Load(format, path, flags);
    FreeImage_SetOutputMessage(nullptr);
    if (bitmap != nullptr && DecoderReportedError) {
        FreeImage_Unload(bitmap);
        bitmap = nullptr;
    }
    return bitmap;
}

void ReleaseCurrentBitmap()
{
    if (CurrentBitmap != nullptr) {
        FreeImage_Unload(CurrentBitmap);
        CurrentBitmap = nullptr;
    }
}
