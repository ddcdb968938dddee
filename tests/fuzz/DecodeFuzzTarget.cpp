// One file's bytes through the decode path as Start and Continue take them:
// decoded as a JPEG and as a TIFF (the two decoders the file's name can
// pick), checked as Start checks the bitmap and its profile, every row
// converted as Continue converts it and compared with the decoder's own
// pixels, everything released. The sanitizers report the memory faults and
// leaks; a row unlike the picture stops the run here.
//
// With DECODE_FUZZ_DIGESTS set, each input prints one line: a digest of its
// bytes, then one of every row delivered for each name. Two runs over the
// same files that differ only in what fresh memory holds (the sanitizer's
// malloc_fill_byte) must print the same lines: a pixel the decoder left
// unwritten shows as a digest that differs.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <FreeImage.h>

#include "decode/ImageFormats.h"
#include "decode/ImageLoading.h"
#include "decode/RowConversion.h"

namespace {

// FNV-1a, 64 bits.
struct Digest {
    uint64_t value = 14695981039346656037ull;
    void Add(const uint8_t* bytes, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            value = (value ^ bytes[i]) * 1099511628211ull;
    }
};

[[noreturn]] void Fail(const char* what, unsigned row, unsigned column)
{
    std::fprintf(stderr, "decode_fuzz: %s (row %u, column %u)\n", what, row, column);
    std::abort();
}

// The input goes to a file, since the module decodes files by name: one
// folder per process, removed when the process ends.
class InputFolder {
public:
    InputFolder()
    {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") + "/decode-fuzz-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr) {
            std::perror("decode_fuzz: no temporary folder");
            std::abort();
        }
        path_ = name.data();
    }
    ~InputFolder()
    {
        for (const char* name : {"input.jpg", "input.tif"})
            std::remove(PathOf(name).c_str());
        rmdir(path_.c_str());
    }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;

    std::string PathOf(const char* name) const { return path_ + "/" + name; }

    std::string Write(const char* name, const uint8_t* data, size_t size) const
    {
        const std::string path = PathOf(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || (size != 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
            std::perror("decode_fuzz: cannot write the input");
            std::abort();
        }
        return path;
    }

private:
    std::string path_;
};

// The host's red, green, blue of one pixel, read from the decoder's bitmap
// by its own accessors, never through the row converters.
void ExpectedPixel(FIBITMAP* bitmap, PixelLayout layout, unsigned x, unsigned y, uint8_t* pixel)
{
    if (layout == PixelLayout::Rgb16 || layout == PixelLayout::Rgba16) {
        const BYTE* line = FreeImage_GetBits(bitmap) + size_t(FreeImage_GetPitch(bitmap)) * y;
        const size_t pixelSize = layout == PixelLayout::Rgb16 ? sizeof(FIRGB16) : sizeof(FIRGBA16);
        std::memcpy(pixel, line + size_t(x) * pixelSize, sizeof(FIRGB16));
        return;
    }
    RGBQUAD colour;
    if (!FreeImage_GetPixelColor(bitmap, x, y, &colour))
        Fail("the decoder gives no colour for a pixel of its own bitmap", y, x);
    pixel[0] = colour.rgbRed;
    pixel[1] = colour.rgbGreen;
    pixel[2] = colour.rgbBlue;
}

// What Start does with the bitmap and its profile.
bool StartWouldDescribe(FIBITMAP* bitmap)
{
    if (!HostTakesBitmap(bitmap))
        return false;
    PixelLayout layout;
    if (!HostPixelLayoutOf(bitmap, &layout))
        Fail("Start describes a bitmap Continue cannot deliver", 0, 0);
    if (size_t(HostDepthOf(bitmap)) != HostPixelBytes(layout) / 3 * 8)
        Fail("the document's depth is not that of the rows Continue delivers", 0, 0);
    // Start copies the profile into a host handle of the size it declares.
    if (const FIICCPROFILE* profile = ProfileForHost(bitmap)) {
        std::vector<uint8_t> copy(profile->size);
        std::memcpy(copy.data(), profile->data, profile->size);
    }
    return true;
}

// Continue's converter first, then every other variant this processor runs:
// a host on another processor gets one of those.
std::vector<RowConverter> ConvertersFor(PixelLayout layout)
{
    std::vector<RowConverter> converters{RowConverterFor(layout)};
    switch (layout) {
    case PixelLayout::Bgr8:
        converters.push_back(ConvertBgrRowScalar);
        if (ProcessorHasSse2())
            converters.push_back(ConvertBgrRowSse2);
        if (ProcessorHasSsse3())
            converters.push_back(ConvertBgrRowSsse3);
        break;
    case PixelLayout::Bgra8:
        converters.push_back(ConvertBgraRowScalar);
        if (ProcessorHasSsse3())
            converters.push_back(ConvertBgraRowSsse3);
        break;
    case PixelLayout::Rgb16:
    case PixelLayout::Rgba16:
        break;
    }
    return converters;
}

// What Continue delivers: every row, top first, converted as Continue
// converts it. The decoder's bitmap leaves slack after its lines, where a
// converter reading or writing past a line would go unseen: each line is
// converted from a copy of exactly its pixels into a row of exactly the
// host's size.
void CheckEveryRow(FIBITMAP* bitmap, Digest* delivery)
{
    PixelLayout layout;
    HostPixelLayoutOf(bitmap, &layout);  // Start made sure there is one
    const unsigned width = FreeImage_GetWidth(bitmap), height = FreeImage_GetHeight(bitmap);
    const size_t pixelBytes = HostPixelBytes(layout), rowBytes = size_t(width) * pixelBytes;
    const std::vector<RowConverter> converters = ConvertersFor(layout);
    std::vector<uint8_t> expected(rowBytes);
    for (unsigned row = 0; row < height; ++row) {
        const unsigned y = height - row - 1;  // the decoder keeps the bottom row first
        for (unsigned x = 0; x < width; ++x)
            ExpectedPixel(bitmap, layout, x, y, expected.data() + size_t(x) * pixelBytes);
        const BYTE* line = FreeImage_GetScanLine(bitmap, int(y));
        const std::vector<uint8_t> source(line, line + FreeImage_GetLine(bitmap));
        for (const RowConverter convert : converters) {
            std::vector<uint8_t> delivered(rowBytes);
            convert(source.data(), delivered.data(), width);
            for (unsigned x = 0; x < width; ++x)
                if (std::memcmp(expected.data() + size_t(x) * pixelBytes, delivered.data() + size_t(x) * pixelBytes,
                                pixelBytes) != 0)
                    Fail("a delivered pixel is not the decoder's", row, x);
        }
        delivery->Add(expected.data(), expected.size());
    }
}

// The rows delivered, or nothing when Start would refuse the file.
Digest ImportOnce(const std::string& path, const char* name)
{
    Digest delivery;
    LoadRefusal refusal = LoadRefusal::None;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return delivery;
    const bool jpeg = std::string_view(name).ends_with(".jpg");
    FIBITMAP* bitmap = LoadImageFile(file, jpeg ? PictureKind::Jpeg : PictureKind::Tiff, &refusal);
    std::fclose(file);
    if ((bitmap == nullptr) != (refusal != LoadRefusal::None))
        Fail("a load gave a bitmap and a refusal, or neither", 0, 0);
    if (bitmap == nullptr)
        return delivery;
    if (StartWouldDescribe(bitmap))
        CheckEveryRow(bitmap, &delivery);
    FreeImage_Unload(bitmap);
    return delivery;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const InputFolder folder;
    static const bool printDigests = std::getenv("DECODE_FUZZ_DIGESTS") != nullptr;
    Digest input;
    input.Add(data, size);
    std::string line = std::to_string(input.value);
    for (const char* name : {"input.jpg", "input.tif"})
        line += " " + std::to_string(ImportOnce(folder.Write(name, data, size), name).value);
    if (printDigests)
        std::printf("digests %s\n", line.c_str());
    return 0;
}
