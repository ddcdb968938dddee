#include "decode/JpegHeaderCheck.h"

#include <cstdint>

namespace {

constexpr int StartOfScan = 0xDA, EndOfImage = 0xD9;

// Frame headers: every SOFn but the DHT (C4), JPG (C8) and DAC (CC) markers.
bool IsFrameHeader(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RSTn, SOI.
bool StandsAlone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// The next marker's code, past any stray bytes before it (which the decoder
// skips too, a 0xFF followed by 0 among them) and fill bytes; -1 at the end
// of the file.
int NextMarker(std::FILE* file)
{
    for (;;) {
        int code;
        do
            code = std::fgetc(file);
        while (code != 0xFF && code != EOF);
        while (code == 0xFF)
            code = std::fgetc(file);
        if (code == EOF)
            return -1;
        if (code != 0)
            return code;
    }
}

bool ReadBigEndian(std::FILE* file, int bytes, uint32_t* value)
{
    *value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int byte = std::fgetc(file);
        if (byte == EOF)
            return false;
        *value = *value << 8 | uint32_t(byte);
    }
    return true;
}

HeaderVerdict JudgeFrame(std::FILE* file)
{
    uint32_t length, precision, height, width, components;
    if (!ReadBigEndian(file, 2, &length) || !ReadBigEndian(file, 1, &precision) ||
        !ReadBigEndian(file, 2, &height) || !ReadBigEndian(file, 2, &width) || !ReadBigEndian(file, 1, &components))
        return HeaderVerdict::Decodable;  // cut short: the decoder reports the missing data
    if (length != 8 + 3 * components || components == 0)
        return HeaderVerdict::Contradictory;
    // One component is grey, three are colour (YCbCr or RGB). Four are CMYK
    // or YCCK, which the decoder would turn into RGB without the file's
    // colour management; other counts are pictures it cannot describe.
    if (components != 1 && components != 3)
        return HeaderVerdict::UnsupportedLayout;
    return JudgePictureSize(width, height, components == 1 ? 8 : 24);
}

HeaderVerdict ScanForFrame(std::FILE* file)
{
    if (std::fgetc(file) != 0xFF || std::fgetc(file) != 0xD8)
        return HeaderVerdict::Decodable;  // no JPEG: the decoder says so
    for (;;) {
        const int marker = NextMarker(file);
        if (marker < 0 || marker == StartOfScan || marker == EndOfImage)
            return HeaderVerdict::Decodable;
        if (IsFrameHeader(marker))
            return JudgeFrame(file);
        if (StandsAlone(marker))
            continue;
        uint32_t length;
        if (!ReadBigEndian(file, 2, &length) || length < 2 || std::fseek(file, long(length) - 2, SEEK_CUR) != 0)
            return HeaderVerdict::Decodable;
    }
}

}  // namespace

HeaderVerdict CheckJpegHeader(std::FILE* file)
{
    const HeaderVerdict verdict = ScanForFrame(file);
    std::fseek(file, 0, SEEK_SET);
    return verdict;
}
