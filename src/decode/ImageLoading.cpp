#include "decode/ImageLoading.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include <tiffio.h>

#include "decode/DecoderMessages.h"
#include "decode/ImageFormats.h"
#include "decode/JpegHeaderCheck.h"
#include "decode/LargeFileOffsets.h"
#include "decode/TiffHeaderCheck.h"

namespace {

// Set when a message of the current load says that picture data is missing
// or damaged (or is one this module does not know).
bool PictureDamaged = false;
// Set when memory ran out during the current load: that says nothing of the
// file.
bool MemoryRanOut = false;

void Hear(MessageOrigin origin, const char* text)
{
    if (SaysMemoryRanOut(origin, text))
        MemoryRanOut = true;
    if (!IsHarmlessDecoderMessage(origin, text))
        PictureDamaged = true;
}

void HearDecoder(FREE_IMAGE_FORMAT, const char* message)
{
    Hear(MessageOrigin::Decoder, message);
}

void HearTiff(MessageOrigin origin, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof(text), format, arguments);
    Hear(origin, text);
}

void HearTiffWarning(const char*, const char* format, va_list arguments)
{
    HearTiff(MessageOrigin::TiffWarning, format, arguments);
}

void HearTiffError(const char*, const char* format, va_list arguments)
{
    HearTiff(MessageOrigin::TiffError, format, arguments);
}

// The decoder leaves the TIFF library's handlers empty: without ours a
// strip that could not be read arrives as rows of whatever the bitmap held.
// Ours are in place for one load only, the library's own restored after.
class DecoderListener {
public:
    DecoderListener()
        : warnings_(TIFFSetWarningHandler(HearTiffWarning)), errors_(TIFFSetErrorHandler(HearTiffError))
    {
        PictureDamaged = false;
        MemoryRanOut = false;
        FreeImage_SetOutputMessage(HearDecoder);
    }
    ~DecoderListener()
    {
        FreeImage_SetOutputMessage(nullptr);
        TIFFSetWarningHandler(warnings_);
        TIFFSetErrorHandler(errors_);
    }
    DecoderListener(const DecoderListener&) = delete;
    DecoderListener& operator=(const DecoderListener&) = delete;

private:
    TIFFErrorHandler warnings_;
    TIFFErrorHandler errors_;
};

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

// The file is read through the caller's handle, opened by its wide path and
// closed by the caller on every way out of a load.
unsigned DLL_CALLCONV ReadFromFile(void* buffer, unsigned size, unsigned count, fi_handle file)
{
    return unsigned(std::fread(buffer, size, count, static_cast<FILE*>(file)));
}

unsigned DLL_CALLCONV WriteToNothing(void*, unsigned, unsigned, fi_handle)
{
    return 0;
}

// A 16-bit picture of the largest size is a 6 GB file: offsets are 64-bit.
int DLL_CALLCONV SeekInFile(fi_handle file, long long offset, int origin)
{
    return SeekInLargeFile(static_cast<FILE*>(file), offset, origin);
}

long long DLL_CALLCONV TellInFile(fi_handle file)
{
    return TellInLargeFile(static_cast<FILE*>(file));
}

LoadRefusal RefusalFor(HeaderVerdict verdict)
{
    switch (verdict) {
    case HeaderVerdict::Decodable:
        return LoadRefusal::None;
    case HeaderVerdict::TooLarge:
    case HeaderVerdict::UnsupportedLayout:
        return LoadRefusal::Unsupported;
    case HeaderVerdict::Contradictory:
        break;
    }
    return LoadRefusal::Unreadable;
}

// The header is judged first: the decoder sizes some of its buffers in 32
// bits and would write a picture too large for them past their end. The
// decoder's own containers throw when memory runs out; nothing may leave the
// module, so such a load is one that failed.
FIBITMAP* DecodeFile(FREE_IMAGE_FORMAT format, FILE* file, int flags, LoadRefusal* refusal)
{
    FreeImageIO io{ReadFromFile, WriteToNothing, SeekInFile, TellInFile};
    FIBITMAP* bitmap = nullptr;
    try {
        EnsureDecoderInitialised();
        *refusal = RefusalFor(format == FIF_TIFF ? CheckTiffHeader(file) : CheckJpegHeader(file));
        if (*refusal == LoadRefusal::None)
            bitmap = FreeImage_LoadFromHandle(format, &io, file, flags);
    } catch (const std::bad_alloc&) {
        MemoryRanOut = true;
    } catch (...) {
        PictureDamaged = true;
    }
    return bitmap;
}

}  // namespace

FIBITMAP* LoadImageFile(FILE* file, PictureKind kind, LoadRefusal* refusal)
{
    *refusal = LoadRefusal::Unavailable;
    if (file == nullptr)
        return nullptr;
    const FREE_IMAGE_FORMAT format = kind == PictureKind::Jpeg ? FIF_JPEG : FIF_TIFF;
    const int flags = kind == PictureKind::Jpeg ? JPEG_ACCURATE : TIFF_DEFAULT;

    FIBITMAP* bitmap = nullptr;
    {
        DecoderListener listener;
        bitmap = DecodeFile(format, file, flags, refusal);
    }
    // A file that could not be read, or memory that ran out, says nothing
    // of the picture, whatever the decoder made of what it got.
    const bool unavailable = MemoryRanOut || std::ferror(file) != 0;
    if (bitmap != nullptr && (PictureDamaged || unavailable)) {
        FreeImage_Unload(bitmap);
        bitmap = nullptr;
    }
    if (unavailable)
        *refusal = LoadRefusal::Unavailable;
    else if (bitmap == nullptr && *refusal == LoadRefusal::None)
        *refusal = LoadRefusal::Unreadable;
    return bitmap;
}
