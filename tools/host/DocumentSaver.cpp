#include "common/ProgramFolder.h"
#include "host/DocumentSaver.h"

#include <windows.h>

#include <FreeImage.h>

#include <cstring>

#include "common/WideFiles.h"
#include "host/AnsiText.h"

namespace {

void InitialiseOnce()
{
    static bool initialised = false;
    if (!initialised) {
        FreeImage_Initialise(TRUE);
        initialised = true;
    }
}

// The planes a file keeps: grey (one), RGB (three) or RGBA (four).
int SavedPlanes(const DocumentRecord& document)
{
    return document.planes >= 4 ? 4 : document.planes >= 3 ? 3 : 1;
}

void SetResolution(FIBITMAP* bitmap, const DocumentRecord& document)
{
    auto perMetre = [](Fixed dpi) { return unsigned(double(dpi) / 65536.0 * 39.3700787 + 0.5); };
    if (document.hRes > 0)
        FreeImage_SetDotsPerMeterX(bitmap, perMetre(document.hRes));
    if (document.vRes > 0)
        FreeImage_SetDotsPerMeterY(bitmap, perMetre(document.vRes));
}

// An 8-bit bitmap; 16-bit samples keep their high byte. FreeImage's rows run
// bottom up and its 24- and 32-bit pixels are blue, green, red (, alpha).
FIBITMAP* MakeBitmap8(const DocumentRecord& document)
{
    const int planes = SavedPlanes(document);
    FIBITMAP* bitmap = FreeImage_Allocate(document.width, document.height, planes * 8);
    if (bitmap == nullptr)
        return nullptr;
    if (planes == 1) {
        RGBQUAD* palette = FreeImage_GetPalette(bitmap);
        for (int i = 0; i < 256; ++i)
            palette[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    }
    static const int order[4] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, FI_RGBA_ALPHA};
    for (int y = 0; y < document.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, document.height - 1 - y);
        for (int x = 0; x < document.width; ++x)
            for (int plane = 0; plane < planes; ++plane) {
                uint32_t sample = document.Sample(x, y, plane);
                BYTE value = BYTE(document.depth == 16 ? sample >> 8 : sample);
                line[x * planes + (planes == 1 ? 0 : order[plane])] = value;
            }
    }
    return bitmap;
}

// A 16-bit bitmap: FIT_UINT16, FIT_RGB16 or FIT_RGBA16, samples in red,
// green, blue, alpha order.
FIBITMAP* MakeBitmap16(const DocumentRecord& document)
{
    const int planes = SavedPlanes(document);
    FREE_IMAGE_TYPE type = planes == 4 ? FIT_RGBA16 : planes == 3 ? FIT_RGB16 : FIT_UINT16;
    FIBITMAP* bitmap = FreeImage_AllocateT(type, document.width, document.height, planes * 16);
    if (bitmap == nullptr)
        return nullptr;
    for (int y = 0; y < document.height; ++y) {
        auto* line = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(bitmap, document.height - 1 - y));
        for (int x = 0; x < document.width; ++x)
            for (int plane = 0; plane < planes; ++plane)
                line[x * planes + plane] = uint16_t(document.Sample(x, y, plane));
    }
    return bitmap;
}

bool Save(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& path, std::string* problem)
{
    if (bitmap == nullptr) {
        *problem = "no memory for " + path;
        return false;
    }
    bool saved = FreeImage_SaveU(format, bitmap, WidePath(path).c_str(), 0) != FALSE;
    FreeImage_Unload(bitmap);
    if (!saved)
        *problem = "cannot write " + path;
    return saved;
}

}  // namespace

std::string DocumentStem(const std::string& filename)
{
    std::string stem = filename;
    size_t dot = stem.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        stem.resize(dot);
    for (char& c : stem)
        if (std::strchr("\\/:*?\"<>|", c) != nullptr || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    return stem.empty() ? std::string("document") : stem;
}

bool SaveDocument(DocumentRecord* document, const std::string& folder, std::string* problem)
{
    InitialiseOnce();
    char number[8];
    snprintf(number, sizeof number, "%02d-", document->index + 1);
    // The document's name is in the code page, the folder in UTF-8.
    std::string base = InFolder(folder, number) + AnsiToUtf8(DocumentStem(document->filename));

    FIBITMAP* full = document->depth == 16 ? MakeBitmap16(*document) : MakeBitmap8(*document);
    if (full != nullptr) {
        SetResolution(full, *document);
        if (!document->profile.empty())
            FreeImage_CreateICCProfile(full, document->profile.data(), long(document->profile.size()));
    }
    if (!Save(full, FIF_TIFF, base + ".tif", problem))
        return false;
    document->tiffPath = base + ".tif";
    if (!Save(MakeBitmap8(*document), FIF_PNG, base + ".png", problem))
        return false;
    document->pngPath = base + ".png";
    return true;
}
