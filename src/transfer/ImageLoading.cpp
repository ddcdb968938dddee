#include "transfer/ImageLoading.h"

#include <cstdio>
#include <cstring>

#include "outputs/NameClasses.h"
#include "transfer/TransferState.h"
#include "transfer/ImageFormats.h"

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

// The file is read through our own handle, so that it is closed on every way
// out of a load, an exception from the decoder included.
unsigned DLL_CALLCONV ReadFromFile(void* buffer, unsigned size, unsigned count, fi_handle file)
{
    return unsigned(std::fread(buffer, size, count, static_cast<FILE*>(file)));
}

unsigned DLL_CALLCONV WriteToNothing(void*, unsigned, unsigned, fi_handle)
{
    return 0;
}

int DLL_CALLCONV SeekInFile(fi_handle file, long offset, int origin)
{
    return std::fseek(static_cast<FILE*>(file), offset, origin);
}

long DLL_CALLCONV TellInFile(fi_handle file)
{
    return std::ftell(static_cast<FILE*>(file));
}

// The decoder's own containers throw when memory runs out; nothing may
// leave the module, so such a load is one that failed.
FIBITMAP* DecodeFile(FREE_IMAGE_FORMAT format, const char* path, int flags)
{
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return nullptr;
    FreeImageIO io{ReadFromFile, WriteToNothing, SeekInFile, TellInFile};
    FIBITMAP* bitmap = nullptr;
    try {
        EnsureDecoderInitialised();
        bitmap = FreeImage_LoadFromHandle(format, &io, file, flags);
    } catch (...) {
        DecoderReportedError = true;
    }
    std::fclose(file);
    return bitmap;
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

    DecoderReportedError = false;
    FreeImage_SetOutputMessage(NoteDecoderMessage);
    FIBITMAP* bitmap = DecodeFile(format, path, flags);
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
