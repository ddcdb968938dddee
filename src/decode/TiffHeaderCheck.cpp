#include "decode/TiffHeaderCheck.h"

#include <algorithm>
#include <cstdint>

#include <tiffio.h>

#include "decode/LargeFileOffsets.h"

namespace {

std::FILE* FileOf(thandle_t handle)
{
    return static_cast<std::FILE*>(handle);
}

tmsize_t ReadFile(thandle_t handle, void* buffer, tmsize_t size)
{
    return tmsize_t(std::fread(buffer, 1, size_t(size), FileOf(handle)));
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t SeekFile(thandle_t handle, toff_t offset, int origin)
{
    if (offset > toff_t(INT64_MAX) || SeekInLargeFile(FileOf(handle), int64_t(offset), origin) != 0)
        return toff_t(-1);
    return toff_t(TellInLargeFile(FileOf(handle)));
}

int KeepOpen(thandle_t)
{
    return 0;  // the file belongs to the load
}

toff_t SizeOfFile(thandle_t handle)
{
    std::FILE* file = FileOf(handle);
    const int64_t at = TellInLargeFile(file);
    SeekInLargeFile(file, 0, SEEK_END);
    const int64_t size = TellInLargeFile(file);
    SeekInLargeFile(file, at, SEEK_SET);
    return toff_t(size);
}

int MapNothing(thandle_t, void**, toff_t*)
{
    return 0;
}

void UnmapNothing(thandle_t, void*, toff_t)
{
}

bool TableFits(TIFF* tiff, uint64_t fileSize)
{
    // Every strip or tile lies inside the file.
    const uint32_t pieces = TIFFIsTiled(tiff) ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
    for (uint32_t piece = 0; piece < pieces; ++piece) {
        const uint64_t offset = TIFFGetStrileOffset(tiff, piece), count = TIFFGetStrileByteCount(tiff, piece);
        if (offset > fileSize || count > fileSize - offset)
            return false;
    }
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (compression != COMPRESSION_NONE)
        return true;  // a codec reports the data it could not decode
    if (TIFFIsTiled(tiff)) {
        const uint64_t needed = uint64_t(TIFFTileSize64(tiff));
        for (uint32_t tile = 0; tile < TIFFNumberOfTiles(tiff); ++tile)
            if (TIFFGetStrileByteCount(tiff, tile) < needed)
                return false;
        return true;
    }
    uint32_t length = 0, rowsPerStrip = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &length);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp(rowsPerStrip, 1u, std::max(length, 1u));
    const uint32_t stripsPerPlane = uint32_t((uint64_t(length) + rowsPerStrip - 1) / rowsPerStrip);
    for (uint32_t strip = 0; strip < TIFFNumberOfStrips(tiff); ++strip) {
        const uint32_t first = (strip % std::max(stripsPerPlane, 1u)) * rowsPerStrip;
        const uint32_t rows = std::min(rowsPerStrip, length - std::min(first, length));
        if (TIFFGetStrileByteCount(tiff, strip) < uint64_t(TIFFVStripSize64(tiff, rows)))
            return false;
    }
    return true;
}

// The decoder reads these kinds through the TIFF library's RGBA reader,
// into one block of 32 bits a pixel.
bool ReadAsRgba(uint16_t photometric)
{
    return photometric == PHOTOMETRIC_YCBCR || photometric == PHOTOMETRIC_CIELAB ||
           photometric == PHOTOMETRIC_ICCLAB || photometric == PHOTOMETRIC_ITULAB;
}

// Samples a pixel of this colour kind cannot do without; 0 where it varies.
uint32_t ColourSamples(uint16_t photometric)
{
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_PALETTE:
        return 1;
    case PHOTOMETRIC_RGB:
    case PHOTOMETRIC_YCBCR:
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
    case PHOTOMETRIC_LOGLUV:
        return 3;
    default:
        return 0;
    }
}

// Bits a pixel of the largest whole-picture buffer the decoder makes.
uint64_t DecodedBitsPerPixel(uint16_t photometric, uint32_t samples, uint32_t bits)
{
    if (ReadAsRgba(photometric))
        return 32;
    if (photometric == PHOTOMETRIC_LOGLUV)
        return 96;  // three 32-bit floats
    return uint64_t(samples) * bits;
}

HeaderVerdict JudgeDirectory(TIFF* tiff, uint64_t fileSize)
{
    uint32_t width = 0, length = 0;
    uint16_t samples = 1, bits = 1, photometric = 0xFFFF, planes = PLANARCONFIG_CONTIG;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &length);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planes);

    if (samples < ColourSamples(photometric))
        return HeaderVerdict::Contradictory;
    // A codec the decoder is not built with (ZSTD, WebP, LERC, JBIG, LZMA,
    // ...): a sound file this module cannot read, not a damaged one.
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (!TIFFIsCODECConfigured(compression))
        return HeaderVerdict::UnsupportedLayout;
    // CMYK and other inks: the decoder would turn them into RGB without the
    // file's colour management. The module makes RGB documents only.
    if (photometric == PHOTOMETRIC_SEPARATED)
        return HeaderVerdict::UnsupportedLayout;
    const HeaderVerdict size = JudgePictureSize(width, length, DecodedBitsPerPixel(photometric, samples, bits));
    if (size != HeaderVerdict::Decodable)
        return size;
    if (ReadAsRgba(photometric) && uint64_t(width) * length * 4 > LargestRgbaBlock)
        return HeaderVerdict::TooLarge;
    // The RGBA reader knows CIE L*a*b* but neither of its ICC and ITU
    // encodings.
    if (photometric == PHOTOMETRIC_ICCLAB || photometric == PHOTOMETRIC_ITULAB)
        return HeaderVerdict::UnsupportedLayout;
    // Nor does it turn YCbCr of other than three 8-bit samples.
    if (photometric == PHOTOMETRIC_YCBCR && (bits != 8 || samples != 3))
        return HeaderVerdict::UnsupportedLayout;
    if (TIFFIsTiled(tiff)) {
        if (uint64_t(TIFFTileSize64(tiff)) > LargestDecoderBlock)
            return HeaderVerdict::TooLarge;
        if (planes == PLANARCONFIG_SEPARATE && !ReadAsRgba(photometric))
            return HeaderVerdict::UnsupportedLayout;
    }
    return TableFits(tiff, fileSize) ? HeaderVerdict::Decodable : HeaderVerdict::Contradictory;
}

}  // namespace

HeaderVerdict CheckTiffHeader(std::FILE* file)
{
    // "m": read through the procedures above, never a mapping of the file.
    TIFF* tiff = TIFFClientOpen("", "rm", file, ReadFile, WriteNothing, SeekFile, KeepOpen, SizeOfFile, MapNothing,
                                UnmapNothing);
    HeaderVerdict verdict = HeaderVerdict::Decodable;
    if (tiff != nullptr) {
        verdict = JudgeDirectory(tiff, uint64_t(SizeOfFile(file)));
        TIFFClose(tiff);
    }
    std::fseek(file, 0, SEEK_SET);
    return verdict;
}
