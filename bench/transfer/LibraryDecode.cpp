#include "LibraryDecode.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include <turbojpeg.h>

#include "StreamedImages.h"

namespace {

bool Allocate(DecodedPixels* pixels, size_t size, std::string* error)
{
    pixels->bytes.reset(new (std::nothrow) uint8_t[size]);
    pixels->size = pixels->bytes ? size : 0;
    if (!pixels->bytes)
        *error = "no memory for " + std::to_string(size) + " bytes";
    return pixels->bytes != nullptr;
}

bool ReadWholeFile(const std::string& path, DecodedPixels* contents, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *error = "cannot open " + path;
        return false;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    const bool read = size > 0 && Allocate(contents, size_t(size), error) &&
                      std::fread(contents->bytes.get(), 1, size_t(size), file) == size_t(size);
    std::fclose(file);
    if (!read && error->empty())
        *error = "cannot read " + path;
    return read;
}

// Every strip read straight into its place.
bool ReadStrips(TIFF* tiff, uint8_t* target, size_t size)
{
    const tmsize_t stripSize = TIFFStripSize(tiff);
    size_t offset = 0;
    for (uint32_t strip = 0; strip < TIFFNumberOfStrips(tiff) && offset < size; ++strip) {
        const tmsize_t read = TIFFReadEncodedStrip(tiff, strip, target + offset,
                                                   tmsize_t(std::min(size - offset, size_t(stripSize))));
        if (read < 0)
            return false;
        offset += size_t(read);
    }
    return offset == size;
}

// Tiles cannot be read in place: each through a tile buffer, its rows copied.
bool ReadTiles(TIFF* tiff, uint8_t* target, uint32_t width, uint32_t height, size_t rowBytes)
{
    uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
    const size_t pixelBytes = rowBytes / width;
    const size_t tileRowBytes = size_t(TIFFTileRowSize(tiff));
    std::unique_ptr<uint8_t[]> tile(new (std::nothrow) uint8_t[size_t(TIFFTileSize(tiff))]);
    if (!tile || tileWidth == 0 || tileHeight == 0)
        return false;
    for (uint32_t y = 0; y < height; y += tileHeight)
        for (uint32_t x = 0; x < width; x += tileWidth) {
            if (TIFFReadTile(tiff, tile.get(), x, y, 0, 0) < 0)
                return false;
            const size_t bytes = std::min(tileWidth, width - x) * pixelBytes;
            for (uint32_t row = 0; row < std::min(tileHeight, height - y); ++row)
                std::memcpy(target + (y + row) * rowBytes + x * pixelBytes, tile.get() + row * tileRowBytes, bytes);
        }
    return true;
}

}  // namespace

bool DecodeJpegWithTurbo(const std::string& path, DecodedPixels* pixels, std::string* error)
{
    DecodedPixels file;
    if (!ReadWholeFile(path, &file, error))
        return false;
    tjhandle decoder = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    bool decoded = decoder != nullptr &&
                   tjDecompressHeader3(decoder, file.bytes.get(), file.size, &width, &height, &subsampling,
                                       &colourspace) == 0 &&
                   Allocate(pixels, size_t(width) * 3 * size_t(height), error) &&
                   tjDecompress2(decoder, file.bytes.get(), file.size, pixels->bytes.get(), width, 0, height, TJPF_RGB,
                                 0) == 0;
    if (!decoded && error->empty())
        *error = std::string("TurboJPEG: ") + tjGetErrorStr2(decoder);
    if (decoder != nullptr)
        tjDestroy(decoder);
    return decoded;
}

bool DecodeTiffWithLibtiff(const std::string& path, DecodedPixels* pixels, std::string* error)
{
    TIFF* tiff = OpenTiffFile(path, "r");
    if (tiff == nullptr) {
        *error = "libtiff cannot open " + path;
        return false;
    }
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    const size_t rowBytes = size_t(TIFFScanlineSize(tiff));
    bool read = width > 0 && Allocate(pixels, rowBytes * height, error);
    if (read)
        read = TIFFIsTiled(tiff) ? ReadTiles(tiff, pixels->bytes.get(), width, height, rowBytes)
                                 : ReadStrips(tiff, pixels->bytes.get(), pixels->size);
    TIFFClose(tiff);
    if (!read && error->empty())
        *error = "libtiff cannot read " + path;
    return read;
}
