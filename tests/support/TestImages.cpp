#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "common/WideFiles.h"

namespace {

// The decoder is set up once for the test program (the module does the
// same for its own use; the set-up counts its users).
struct DecoderForTests {
    DecoderForTests() { FreeImage_Initialise(TRUE); }
};

void EnsureDecoder()
{
    static DecoderForTests decoder;
}

}  // namespace

uint8_t Pattern8(int x, int y, int channel)
{
    return uint8_t(x * 7 + y * 13 + channel * 85 + (x * y) % 5);
}

uint16_t Pattern16(int x, int y, int channel)
{
    return uint16_t(x * 977 + y * 3001 + channel * 21845 + (x ^ y));
}

FIBITMAP* MakeRgb24(int width, int height)
{
    EnsureDecoder();
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, height - 1 - y);  // y counts from the top
        for (int x = 0; x < width; ++x) {
            line[3 * x + FI_RGBA_RED] = Pattern8(x, y, 0);
            line[3 * x + FI_RGBA_GREEN] = Pattern8(x, y, 1);
            line[3 * x + FI_RGBA_BLUE] = Pattern8(x, y, 2);
        }
    }
    return bitmap;
}

FIBITMAP* MakeOpaqueRgba32(int width, int height)
{
    EnsureDecoder();
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            line[4 * x + FI_RGBA_RED] = Pattern8(x, y, 0);
            line[4 * x + FI_RGBA_GREEN] = Pattern8(x, y, 1);
            line[4 * x + FI_RGBA_BLUE] = Pattern8(x, y, 2);
            line[4 * x + FI_RGBA_ALPHA] = 255;
        }
    }
    return bitmap;
}

FIBITMAP* MakeRgb48(int width, int height)
{
    EnsureDecoder();
    FIBITMAP* bitmap = FreeImage_AllocateT(FIT_RGB16, width, height);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(bitmap, height - 1 - y));
        for (int x = 0; x < width; ++x)
            line[x] = FIRGB16{Pattern16(x, y, 0), Pattern16(x, y, 1), Pattern16(x, y, 2)};
    }
    return bitmap;
}

FIBITMAP* MakeFloatRgb(int width, int height)
{
    EnsureDecoder();
    FIBITMAP* bitmap = FreeImage_AllocateT(FIT_RGBF, width, height);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(bitmap, y));
        for (int x = 0; x < width; ++x)
            line[x] = FIRGBF{0.25f, 0.5f, float(x) / float(width)};
    }
    return bitmap;
}

FIBITMAP* MakeGrey8(int width, int height)
{
    EnsureDecoder();
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 8);
    RGBQUAD* palette = FreeImage_GetPalette(bitmap);
    for (int i = 0; i < 256; ++i)
        palette[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x)
            line[x] = Pattern8(x, y, 0);
    }
    return bitmap;
}

HostImage ExpectedRgb24(int width, int height)
{
    HostImage image{width, height, 1, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                image.bytes.push_back(Pattern8(x, y, c));
    return image;
}

HostImage ExpectedRgb48(int width, int height)
{
    HostImage image{width, height, 2, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint16_t value = Pattern16(x, y, c);
                image.bytes.push_back(uint8_t(value & 0xFF));
                image.bytes.push_back(uint8_t(value >> 8));
            }
    return image;
}

bool SaveAndUnload(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& path, int flags)
{
    const bool saved = bitmap != nullptr && FreeImage_SaveU(format, bitmap, WidePath(path).c_str(), flags) != FALSE;
    if (bitmap != nullptr)
        FreeImage_Unload(bitmap);
    return saved;
}

void WriteRowStripTiff(const std::string& path, int width, int height)
{
    std::vector<uint8_t> file;
    auto put16 = [&](uint32_t v) { file.push_back(uint8_t(v)); file.push_back(uint8_t(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    constexpr uint32_t entries = 10;
    const uint32_t ifd = 8, ifdBytes = 2 + entries * 12 + 4;
    const uint32_t bitsAt = ifd + ifdBytes, offsetsAt = bitsAt + 6, countsAt = offsetsAt + 4 * height;
    const uint32_t pixelsAt = countsAt + 4 * height, rowBytes = 3 * width;
    put16('I' | ('I' << 8));  // little-endian
    put16(42);
    put32(ifd);
    put16(entries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        put16(tag);
        put16(type);
        put32(count);
        put32(value);
    };
    entry(256, 4, 1, width);              // width
    entry(257, 4, 1, height);             // length
    entry(258, 3, 3, bitsAt);             // bits per sample, 8 8 8
    entry(259, 3, 1, 1);                  // no compression
    entry(262, 3, 1, 2);                  // RGB
    entry(273, 4, height, offsetsAt);     // strip offsets
    entry(277, 3, 1, 3);                  // samples per pixel
    entry(278, 4, 1, 1);                  // one row per strip
    entry(279, 4, height, countsAt);      // strip byte counts
    entry(284, 3, 1, 1);                  // contiguous
    put32(0);
    put16(8);
    put16(8);
    put16(8);
    for (int y = 0; y < height; ++y)
        put32(pixelsAt + y * rowBytes);
    for (int y = 0; y < height; ++y)
        put32(rowBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                file.push_back(Pattern8(x, y, c));
    HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(handle, file.data(), DWORD(file.size()), &written, nullptr);
    CloseHandle(handle);
    ASSERT_EQ(written, file.size());
}

bool MoveTiffDirectory(const std::string& path, uint32_t to)
{
    const std::vector<uint8_t> file = ReadWholeFile(path);
    auto get = [&](size_t at, int bytes) {
        uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | file[at + i];
        return value;
    };
    if (file.size() < 8 || get(0, 4) != 0x002A4949u)  // "II", 42: little-endian classic
        return false;
    const size_t at = get(4, 4);
    if (at + 2 > file.size())
        return false;
    const size_t bytes = 2 + 12 * size_t(get(at, 2)) + 4;
    if (at + bytes > file.size() || to < file.size())
        return false;
    HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const uint8_t header[4] = {uint8_t(to), uint8_t(to >> 8), uint8_t(to >> 16), uint8_t(to >> 24)};
    LARGE_INTEGER where;
    DWORD written = 0, directoryWritten = 0;
    where.QuadPart = 4;
    bool done = SetFilePointerEx(handle, where, nullptr, FILE_BEGIN) &&
                WriteFile(handle, header, sizeof header, &written, nullptr) && written == sizeof header;
    where.QuadPart = to;
    done = done && SetFilePointerEx(handle, where, nullptr, FILE_BEGIN) &&
           WriteFile(handle, file.data() + at, DWORD(bytes), &directoryWritten, nullptr) && directoryWritten == bytes;
    CloseHandle(handle);
    return done;
}

void TruncateFile(const std::string& path, double keptFraction)
{
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    const DWORD size = GetFileSize(file, nullptr);
    SetFilePointer(file, LONG(size * keptFraction), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

HostImage DecodeForComparison(FREE_IMAGE_FORMAT format, const std::string& path, int flags)
{
    EnsureDecoder();
    HostImage image;
    FIBITMAP* bitmap = FreeImage_LoadU(format, WidePath(path).c_str(), flags);
    if (bitmap == nullptr)
        return image;
    image.width = int(FreeImage_GetWidth(bitmap));
    image.height = int(FreeImage_GetHeight(bitmap));
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            RGBQUAD colour{};
            FreeImage_GetPixelColor(bitmap, unsigned(x), unsigned(y), &colour);
            image.bytes.push_back(colour.rgbRed);
            image.bytes.push_back(colour.rgbGreen);
            image.bytes.push_back(colour.rgbBlue);
        }
    }
    FreeImage_Unload(bitmap);
    return image;
}

std::vector<uint8_t> MakeProfileBytes(size_t size, const char* colourSpace)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t((i * 31 + 7) ^ (i >> 8));
    // A profile starts with its size, big-endian.
    if (size >= 4) {
        bytes[0] = uint8_t(size >> 24);
        bytes[1] = uint8_t(size >> 16);
        bytes[2] = uint8_t(size >> 8);
        bytes[3] = uint8_t(size);
    }
    // Bytes 16 to 19 name the colour space of the data it describes.
    if (size >= 20)
        std::memcpy(bytes.data() + 16, colourSpace, 4);
    return bytes;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::string bytes;
    ReadFileData(path, &bytes);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

HostImage ReadPpm(const std::string& path)
{
    const std::vector<uint8_t> file = ReadWholeFile(path);
    size_t at = 0;
    // Header fields are separated by white space and may be followed by comments.
    auto field = [&]() {
        std::string text;
        while (at < file.size()) {
            const char c = char(file[at]);
            if (c == '#') {
                while (at < file.size() && file[at] != '\n')
                    ++at;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++at;
                if (!text.empty())
                    return text;
            } else {
                text += c;
                ++at;
            }
        }
        return text;
    };
    HostImage image;
    if (field() != "P6")
        return image;
    const int width = std::atoi(field().c_str());
    const int height = std::atoi(field().c_str());
    const int maxValue = std::atoi(field().c_str());
    const int bytesPerChannel = maxValue > 255 ? 2 : 1;
    const size_t size = size_t(width) * height * 3 * bytesPerChannel;
    if (width <= 0 || height <= 0 || at + size > file.size())
        return image;
    image = HostImage{width, height, bytesPerChannel, std::vector<uint8_t>(file.begin() + at, file.begin() + at + size)};
    // PPM keeps 16-bit values most significant byte first; the host wants them the other way.
    if (bytesPerChannel == 2)
        for (size_t i = 0; i + 1 < image.bytes.size(); i += 2)
            std::swap(image.bytes[i], image.bytes[i + 1]);
    return image;
}

void ExpectSameImage(const HostImage& received, const HostImage& expected)
{
    ASSERT_EQ(received.width, expected.width);
    ASSERT_EQ(received.height, expected.height);
    ASSERT_EQ(received.bytesPerChannel, expected.bytesPerChannel);
    ASSERT_EQ(received.bytes.size(), expected.bytes.size());
    const size_t rowBytes = expected.bytes.size() / size_t(expected.height);
    for (size_t i = 0; i < expected.bytes.size(); ++i)
        ASSERT_EQ(int(received.bytes[i]), int(expected.bytes[i])) << "byte " << i % rowBytes << " of row " << i / rowBytes;
}
