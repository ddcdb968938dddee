#include "StreamedImages.h"

#include <windows.h>

#include <io.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <tiffio.h>

#include "host/DocumentAssembler.h"

namespace {

// libjpeg reports a fault by calling error_exit, which must not return; C
// frames cannot be unwound by an exception, so it jumps back.
struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void JumpBack(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    longjmp(error->back, 1);
}

void PhotoRow(uint8_t* row, int y, int width, int height)
{
    uint32_t noise = 12345u + uint32_t(y) * 2654435761u;
    for (int x = 0; x < width; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int n = int(noise >> 28) - 8;
        auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
        row[3 * x] = clamp(int(int64_t(x) * 255 / width) + n);
        row[3 * x + 1] = clamp(int(int64_t(y) * 255 / height) + n);
        row[3 * x + 2] = clamp((x + y) / 7 % 256 + n);
    }
}

// Pixels first to first + count of row y.
void DeepRow(uint16_t* row, int y, int first, int count, int width, int height)
{
    for (int i = 0; i < count; ++i) {
        const int x = first + i;
        row[3 * i] = uint16_t(int64_t(x) * 65535 / width);
        row[3 * i + 1] = uint16_t(int64_t(y) * 65535 / height);
        row[3 * i + 2] = uint16_t(uint32_t(x) * 40503u + uint32_t(y) * 9973u);
    }
}

// The picture tile by tile, each written whole; pixels past the picture's
// edge are zero.
bool WriteDeepTiles(TIFF* tiff, int width, int height, const TiffTiles& tiles)
{
    std::vector<uint16_t> tile(size_t(tiles.width) * tiles.height * 3);
    for (int top = 0; top < height; top += int(tiles.height))
        for (int left = 0; left < width; left += int(tiles.width)) {
            std::fill(tile.begin(), tile.end(), uint16_t(0));
            const int rows = std::min(int(tiles.height), height - top);
            const int columns = std::min(int(tiles.width), width - left);
            for (int y = 0; y < rows; ++y)
                DeepRow(tile.data() + size_t(y) * tiles.width * 3, top + y, left, columns, width, height);
            if (TIFFWriteTile(tiff, tile.data(), uint32_t(left), uint32_t(top), 0, 0) < 0)
                return false;
        }
    return true;
}

// libtiff through our own file procedures: the decoder library linked with it
// replaces TIFFOpen with one that opens nothing.
tmsize_t ReadTiff(thandle_t file, void* data, tmsize_t size)
{
    return tmsize_t(std::fread(data, 1, size_t(size), static_cast<FILE*>(file)));
}

tmsize_t WriteTiff(thandle_t file, void* data, tmsize_t size)
{
    return tmsize_t(std::fwrite(data, 1, size_t(size), static_cast<FILE*>(file)));
}

toff_t SeekTiff(thandle_t file, toff_t offset, int origin)
{
    FILE* stream = static_cast<FILE*>(file);
    return _fseeki64(stream, int64_t(offset), origin) == 0 ? toff_t(_ftelli64(stream)) : toff_t(-1);
}

int CloseTiff(thandle_t file)
{
    return std::fclose(static_cast<FILE*>(file));
}

toff_t TiffSize(thandle_t file)
{
    return toff_t(_filelengthi64(_fileno(static_cast<FILE*>(file))));
}

int NoMapping(thandle_t, void**, toff_t*)
{
    return 0;
}

void NoUnmapping(thandle_t, void*, toff_t) {}

}  // namespace

std::vector<uint8_t> MakeRgbProfile(size_t size)
{
    std::vector<uint8_t> profile(size < 128 ? 128 : size);
    for (size_t i = 0; i < profile.size(); ++i)
        profile[i] = uint8_t(i * 7 + 3);
    const uint32_t length = uint32_t(profile.size());
    for (int i = 0; i < 4; ++i)
        profile[size_t(i)] = uint8_t(length >> (24 - 8 * i));
    std::memcpy(profile.data() + 12, "mntr", 4);
    std::memcpy(profile.data() + 16, "RGB ", 4);  // the colour space of the data it describes
    std::memcpy(profile.data() + 36, "acsp", 4);
    return profile;
}

bool WriteJpeg(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
               std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        *error = "cannot create " + path;
        return false;
    }
    jpeg_compress_struct info{};
    JpegError fault{};
    std::vector<uint8_t> row(size_t(width) * 3);
    info.err = jpeg_std_error(&fault.manager);
    fault.manager.error_exit = JumpBack;
    if (setjmp(fault.back) != 0) {
        jpeg_destroy_compress(&info);
        std::fclose(file);
        *error = std::string("libjpeg: ") + fault.message;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!profile.empty())
        jpeg_write_icc_profile(&info, profile.data(), unsigned(profile.size()));
    for (int y = 0; y < height; ++y) {
        PhotoRow(row.data(), y, width, height);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool written = std::fclose(file) == 0;
    if (!written)
        *error = "cannot write " + path;
    return written;
}

bool JpegChecksum(const std::string& path, uint64_t* checksum, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *error = "cannot open " + path;
        return false;
    }
    jpeg_decompress_struct info{};
    JpegError fault{};
    std::vector<uint8_t> row;
    info.err = jpeg_std_error(&fault.manager);
    fault.manager.error_exit = JumpBack;
    if (setjmp(fault.back) != 0) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        *error = std::string("libjpeg: ") + fault.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    row.resize(size_t(info.output_width) * 3);
    uint64_t hash = Fnv1a64Start;
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        hash = Fnv1a64(hash, row.data(), row.size());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    *checksum = hash;
    return true;
}

bool WriteTiff16(const std::string& path, int width, int height, const std::vector<uint8_t>& profile,
                 uint64_t* checksum, std::string* error, const TiffTiles& tiles)
{
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    FILE* file = std::fopen(path.c_str(), "w+b");
    // Past 4 GB of samples the file needs 64-bit offsets (BigTIFF).
    const char* mode = uint64_t(width) * uint64_t(height) * 6 > 0xF0000000u ? "w8" : "w";
    TIFF* tiff = file == nullptr ? nullptr
                                 : TIFFClientOpen(path.c_str(), mode, file, ReadTiff, WriteTiff, SeekTiff, CloseTiff,
                                                  TiffSize, NoMapping, NoUnmapping);
    if (tiff == nullptr) {
        if (file != nullptr)
            std::fclose(file);
        *error = "cannot create " + path;
        return false;
    }
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    if (tiles.width != 0) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tiles.width);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tiles.height);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    }
    if (!profile.empty())
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, uint32_t(profile.size()), profile.data());
    std::vector<uint16_t> row(size_t(width) * 3);
    uint64_t hash = Fnv1a64Start;
    bool written = tiles.width == 0 || WriteDeepTiles(tiff, width, height, tiles);
    for (int y = 0; y < height && written; ++y) {
        DeepRow(row.data(), y, 0, width, width, height);
        hash = Fnv1a64(hash, reinterpret_cast<const uint8_t*>(row.data()), row.size() * 2);  // little-endian
        if (tiles.width == 0)
            written = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    TIFFClose(tiff);  // closes the file too
    if (!written) {
        *error = "cannot write " + path;
        return false;
    }
    *checksum = hash;
    return true;
}
