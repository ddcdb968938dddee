#include "decode/DecoderMessages.h"

#include <cstring>
#include <utility>

namespace {

enum class Verdict {
    Harmless,
    Damaging,
    HarmlessUnlessPictureTag,  // a tag left out: harmless unless the pixels are read by it
};

struct KnownMessage {
    MessageOrigin origin;
    const char* format;
    Verdict verdict;
};

constexpr MessageOrigin Decoder = MessageOrigin::Decoder;
constexpr MessageOrigin TiffWarning = MessageOrigin::TiffWarning;
constexpr MessageOrigin TiffError = MessageOrigin::TiffError;

// The decoder messages this module knows, as their libraries print them. The
// first that matches decides; a message matching none is damaging, and so is
// every other error of the TIFF library (a strip or tile left unread) and
// every message of a TIFF codec (its JPEG library's included) while a strip
// or tile is decoded.
constexpr KnownMessage KnownMessages[] = {
    // JPEG metadata: messages about segments that label or accompany the
    // picture. The revision labels the JFIF segment; the frame describes the
    // picture.
    {Decoder, "Warning: unknown JFIF revision number %d.%02d", Verdict::Harmless},
    // The profile's APP2 markers do not fit together: the decoder gives no
    // profile and the pixels are whole.
    {Decoder, "Corrupt JPEG data: bad ICC marker", Verdict::Harmless},
    // Thumbnail and metadata segments, which the document does not use.
    {Decoder, "Warning: non-standard JFXX segment", Verdict::Harmless},
    {Decoder, "Exif: Suspicious offset of first IFD value", Verdict::Harmless},
    {Decoder, "Unimplemented variable number of parameters for Tiff Tag %s", Verdict::Harmless},
    // Bytes where a marker should be, and odd scan parameters: a converter's
    // own export carries neither, and both are what picture data looks like
    // to the decoder when it ran out of picture before it ran out of bytes
    // (a unit of data grown or shifted by damage). Listed to say so; any
    // other warning about the frame or scan parameters is damaging as an
    // unknown message.
    {Decoder, "Corrupt JPEG data: %u extraneous bytes before marker 0x%02x", Verdict::Damaging},
    {Decoder, "Invalid SOS parameters for sequential JPEG", Verdict::Damaging},
    // Data missing or garbled: the decoder fills what it could not read.
    {Decoder, "Premature end of JPEG file", Verdict::Damaging},
    {Decoder, "Corrupt JPEG data: premature end of data segment", Verdict::Damaging},
    {Decoder, "Corrupt JPEG data: bad Huffman code", Verdict::Damaging},
    {Decoder, "Corrupt JPEG data: bad arithmetic code", Verdict::Damaging},
    {Decoder, "Corrupt JPEG data: found marker 0x%02x instead of RST%d", Verdict::Damaging},
    {Decoder, "Inconsistent progression sequence for component %d coefficient %d", Verdict::Damaging},
    // The one error after which the decoder goes on: a marker where entropy-
    // coded data was expected.
    {Decoder, "Unsupported marker type 0x%02x", Verdict::Damaging},
    {Decoder, "Warning: parsing error. Image may be incomplete or contain invalid data !", Verdict::Damaging},

    // TIFF. Converters write private tags; a tag the library does not know,
    // or a text tag without its final zero, changes no pixel.
    {TiffWarning, "Unknown field with tag %u (0x%x) encountered", Verdict::Harmless},
    {TiffWarning, "ASCII value for tag \"%s\" does not end in null byte%s", Verdict::Harmless},
    {TiffWarning, "ASCII value for tag \"%s\" contains null byte in value%s", Verdict::Harmless},
    {TiffWarning, "Invalid TIFF directory; tags are not sorted in ascending order", Verdict::Harmless},
    // An odd tag value is dropped (or trimmed); harmless unless it is one
    // that says how the picture is stored.
    {TiffWarning, "Incorrect count for \"%s\"; tag ignored", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "Incompatible type for \"%s\"; tag ignored", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "Incorrect value for \"%s\"; tag ignored", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "Cannot handle different values per sample for \"%s\"; tag ignored", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "Wrong data type %u for \"%s\"; tag ignored", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "incorrect count for field \"%s\" (%llu, expecting %u); tag %s", Verdict::HarmlessUnlessPictureTag},
    {TiffWarning, "incorrect count for field \"%s\", expected %d, got %llu", Verdict::HarmlessUnlessPictureTag},
    // A JPEG strip whose frame does not fit the strip.
    {TiffWarning, "Improper JPEG strip/tile size, expected %ux%u, got %ux%u", Verdict::Damaging},
    // The decoder asks for every EXIF tag by number, and the library answers
    // one it has no field for with this error: a lookup, no data of the file.
    {TiffError, "Internal error, unknown tag %s", Verdict::Harmless},
};

// Tags (as the TIFF library names them) that the pixels are read by.
constexpr const char* PictureTags[] = {
    "ImageWidth", "ImageLength", "BitsPerSample", "Compression", "PhotometricInterpretation", "FillOrder",
    "StripOffsets", "SamplesPerPixel", "RowsPerStrip", "StripByteCounts", "PlanarConfiguration", "ColorMap",
    "TileWidth", "TileLength", "TileOffsets", "TileByteCounts", "ExtraSamples", "SampleFormat",
    "YCbCrCoefficients", "YCbCrSubsampling", "YCbCrPositioning", "ReferenceBlackWhite", "Predictor",
    "JPEGTables",
};

// The tag named between the first pair of double quotes of text.
bool NamesPictureTag(const char* text)
{
    const char* open = std::strchr(text, '"');
    const char* close = open != nullptr ? std::strchr(open + 1, '"') : nullptr;
    if (close == nullptr)
        return true;  // no name to clear it
    const size_t length = size_t(close - open - 1);
    for (const char* tag : PictureTags)
        if (std::strlen(tag) == length && std::memcmp(tag, open + 1, length) == 0)
            return true;
    return false;
}

// Characters of the conversion that starts at format's '%'.
size_t ConversionLength(const char* format)
{
    size_t n = 1;
    while (format[n] != '\0' && std::strchr("-+ #0123456789.hlLqjztI", format[n]) != nullptr)
        ++n;
    return format[n] == '\0' ? n : n + 1;
}

// What a conversion prints: digits for numbers, anything for text.
bool CanPrint(char conversion, char c)
{
    switch (conversion) {
    case 'd':
    case 'i':
        return (c >= '0' && c <= '9') || c == '-';
    case 'u':
        return c >= '0' && c <= '9';
    case 'x':
    case 'X':
        return std::strchr("0123456789abcdefABCDEF", c) != nullptr;
    default:
        return true;
    }
}

}  // namespace

bool MatchesFormat(const char* text, const char* format)
{
    while (*format != '\0') {
        if (format[0] == '%' && format[1] != '%') {
            const size_t length = ConversionLength(format);
            const char* rest = format + length;
            for (const char* at = text;; ++at) {
                if (MatchesFormat(at, rest))
                    return true;
                if (*at == '\0' || !CanPrint(format[length - 1], *at))
                    return false;
            }
        }
        if (format[0] == '%')
            ++format;  // "%%" prints one '%'
        if (*text != *format)
            return false;
        ++text;
        ++format;
    }
    return *text == '\0';
}

bool IsHarmlessDecoderMessage(MessageOrigin origin, const char* text)
{
    if (text == nullptr)
        return false;
    for (const KnownMessage& known : KnownMessages) {
        if (known.origin != origin || !MatchesFormat(text, known.format))
            continue;
        switch (known.verdict) {
        case Verdict::Harmless:
            return true;
        case Verdict::HarmlessUnlessPictureTag:
            return !NamesPictureTag(text);
        case Verdict::Damaging:
            return false;
        }
    }
    return false;
}

namespace {

// Memory that ran out, as the decoder and its libraries say it; their
// allocations are sized by a header the checks already judged.
constexpr std::pair<MessageOrigin, const char*> MemoryMessages[] = {
    {Decoder, "DIB allocation failed%s"},
    {Decoder, "Memory allocation failed%s"},
    {Decoder, "Insufficient memory (case %d)"},
    {TiffError, "%sOut of memory%s"},
    {TiffError, "%sNo space for %s"},
    {TiffError, "%sFailed to allocate memory%s"},
    {TiffError, "%sCannot allocate %s"},
};

}  // namespace

bool SaysMemoryRanOut(MessageOrigin origin, const char* text)
{
    if (text == nullptr)
        return false;
    for (const auto& [from, format] : MemoryMessages)
        if (from == origin && MatchesFormat(text, format))
            return true;
    return false;
}
