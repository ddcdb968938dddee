// Checks the static FreeImage build the way the module uses it: format
// numbers, which formats decode, embedded ICC profiles, PNG output.
// Usage: freeimage-selftest ICC_SIZE, run in the folder make-images.py filled.
#include <windows.h>

#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int passed = 0;
int failed = 0;
int messages = 0;

void check(bool ok, const char *what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    (ok ? passed : failed)++;
}

void printMessage(FREE_IMAGE_FORMAT fif, const char *message) {
    std::printf("     FreeImage (format %d): %s\n", static_cast<int>(fif), message);
    ++messages;
}

// Loads a file by the type its content shows, and describes it.
FIBITMAP *loadAndDescribe(const char *name, FREE_IMAGE_FORMAT *fif) {
    *fif = FreeImage_GetFileType(name, 0);
    FIBITMAP *dib = *fif == FIF_UNKNOWN ? nullptr : FreeImage_Load(*fif, name, 0);
    if (dib) {
        std::printf("     %s: FIF %d, %ux%u, %u bpp, ICC %ld bytes\n", name, static_cast<int>(*fif),
                    FreeImage_GetWidth(dib), FreeImage_GetHeight(dib), FreeImage_GetBPP(dib),
                    static_cast<long>(FreeImage_GetICCProfile(dib)->size));
    } else {
        std::printf("     %s: FIF %d, not loaded\n", name, static_cast<int>(*fif));
    }
    return dib;
}

bool samePixels(FIBITMAP *a, FIBITMAP *b) {
    if (FreeImage_GetWidth(a) != FreeImage_GetWidth(b) || FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
        FreeImage_GetBPP(a) != FreeImage_GetBPP(b)) {
        return false;
    }
    const unsigned rowBytes = FreeImage_GetLine(a);
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y) {
        if (std::memcmp(FreeImage_GetScanLine(a, y), FreeImage_GetScanLine(b, y), rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

void checkFormatNumbers() {
    std::printf("     FIF numbers: JPEG %d, PNG %d, TIFF %d, BMP %d; %d formats\n",
                static_cast<int>(FreeImage_GetFIFFromFormat("JPEG")), static_cast<int>(FreeImage_GetFIFFromFormat("PNG")),
                static_cast<int>(FreeImage_GetFIFFromFormat("TIFF")), static_cast<int>(FreeImage_GetFIFFromFormat("BMP")),
                FreeImage_GetFIFCount());
    check(FreeImage_GetFIFFromFormat("JPEG") == 2 && FIF_JPEG == 2, "JPEG is format 2");
    check(FreeImage_GetFIFFromFormat("TIFF") == 18 && FIF_TIFF == 18, "TIFF is format 18");
    check(FreeImage_GetFIFFromFormat("PNG") == FIF_PNG, "PNG keeps its format number");
    check(FreeImage_GetFIFCount() == FIF_JXR + 1, "every format keeps its registration slot");
    check(FreeImage_GetFIFFromFilename("a.jpeg") == FIF_JPEG && FreeImage_GetFIFFromFilename("a.tif") == FIF_TIFF &&
              FreeImage_GetFIFFromFilename("a.png") == FIF_PNG,
          "built formats are found by extension");
    // An extension equal to a format name still finds that format, built or not.
    const FREE_IMAGE_FORMAT byName[] = {FreeImage_GetFIFFromFilename("a.bmp"), FreeImage_GetFIFFromFilename("a.gif"),
                                        FreeImage_GetFIFFromFilename("a.pbm"), FreeImage_GetFIFFromFilename("a.xyz")};
    bool noneReadable = true;
    for (FREE_IMAGE_FORMAT fif : byName) {
        noneReadable = noneReadable && (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif));
    }
    check(noneReadable && FreeImage_GetFIFFromFilename("a.xyz") == FIF_UNKNOWN &&
              FreeImage_GetFIFFromFilename("a.lbm") == FIF_UNKNOWN,
          "left-out formats claim no extension and read nothing");
    check(!FreeImage_FIFSupportsReading(FIF_BMP) && FreeImage_FIFSupportsReading(FIF_JPEG) &&
              FreeImage_FIFSupportsReading(FIF_TIFF) && FreeImage_FIFSupportsWriting(FIF_PNG),
          "only the built formats read or write");
}

void checkDecoding(long iccSize) {
    FREE_IMAGE_FORMAT fif = FIF_UNKNOWN;
    FIBITMAP *jpeg = loadAndDescribe("photo.jpg", &fif);
    check(jpeg && fif == FIF_JPEG && FreeImage_GetWidth(jpeg) == 64 && FreeImage_GetHeight(jpeg) == 48 &&
              FreeImage_GetBPP(jpeg) == 24,
          "RGB JPEG decodes as 64x48, 24 bpp");
    check(jpeg && FreeImage_GetICCProfile(jpeg)->size == static_cast<DWORD>(iccSize), "JPEG's embedded ICC profile is read whole");

    FIBITMAP *grey = loadAndDescribe("grey.jpg", &fif);
    check(grey && FreeImage_GetBPP(grey) == 8 && FreeImage_GetWidth(grey) == 33, "greyscale JPEG decodes as 8 bpp");

    FIBITMAP *tiff = loadAndDescribe("photo.tif", &fif);
    check(tiff && fif == FIF_TIFF && FreeImage_GetWidth(tiff) == 40 && FreeImage_GetHeight(tiff) == 30 &&
              FreeImage_GetBPP(tiff) == 24,
          "LZW TIFF decodes as 40x30, 24 bpp");
    check(tiff && FreeImage_GetICCProfile(tiff)->size == static_cast<DWORD>(iccSize), "TIFF's embedded ICC profile is read whole");

    FIBITMAP *cutInHeader = loadAndDescribe("cut-in-header.jpg", &fif);
    check(cutInHeader == nullptr, "a JPEG cut off in its header fails to load");

    // libjpeg pads missing scan data and only warns: the image loads, and the
    // warning reaches the output-message handler.
    const int messagesBefore = messages;
    FIBITMAP *cutInPixels = loadAndDescribe("cut-in-pixels.jpg", &fif);
    check(cutInPixels && messages > messagesBefore, "a JPEG cut off in its pixels loads with a warning");
    FreeImage_Unload(cutInPixels);

    FIBITMAP *bmp = loadAndDescribe("picture.bmp", &fif);
    check(bmp == nullptr && FreeImage_Load(FIF_BMP, "picture.bmp", 0) == nullptr,
          "a left-out format is refused, not crashed on");

    if (jpeg) {
        const bool saved = FreeImage_Save(FIF_PNG, jpeg, "roundtrip.png", PNG_DEFAULT);
        FIBITMAP *png = saved ? loadAndDescribe("roundtrip.png", &fif) : nullptr;
        check(png && fif == FIF_PNG && samePixels(jpeg, png), "PNG output reads back pixel for pixel");
        FreeImage_Unload(png);
    }
    FreeImage_Unload(jpeg);
    FreeImage_Unload(grey);
    FreeImage_Unload(tiff);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: freeimage-selftest ICC_SIZE\n");
        return 2;
    }
    FreeImage_Initialise(TRUE);
    FreeImage_SetOutputMessage(printMessage);
    std::printf("     FreeImage %s\n", FreeImage_GetVersion());
    checkFormatNumbers();
    checkDecoding(std::atol(argv[1]));
    FreeImage_DeInitialise();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
