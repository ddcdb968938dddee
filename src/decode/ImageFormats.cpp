#include "decode/ImageFormats.h"

#include <cstring>

namespace {

// A 16-bit picture with an alpha channel that hides nothing is an RGB one.
bool OpaqueEverywhere(FIBITMAP* rgba16)
{
    const unsigned width = FreeImage_GetWidth(rgba16), height = FreeImage_GetHeight(rgba16);
    for (unsigned y = 0; y < height; ++y) {
        const auto* pixels = reinterpret_cast<const FIRGBA16*>(FreeImage_GetScanLine(rgba16, int(y)));
        for (unsigned x = 0; x < width; ++x)
            if (pixels[x].alpha != 0xFFFF)
                return false;
    }
    return true;
}

}  // namespace

bool HostPixelLayoutOf(FIBITMAP* bitmap, PixelLayout* layout)
{
    switch (FreeImage_GetImageType(bitmap)) {
    case FIT_RGB16:
        *layout = PixelLayout::Rgb16;
        return true;
    case FIT_RGBA16:
        if (FreeImage_GetColorType(bitmap) != FIC_RGBALPHA || !OpaqueEverywhere(bitmap))
            return false;  // CMYK, or a picture with transparency
        *layout = PixelLayout::Rgba16;
        return true;
    case FIT_BITMAP:
        if (FreeImage_GetBPP(bitmap) == 24) {
            *layout = PixelLayout::Bgr8;
            return true;
        }
        // 32 bits pass only with an alpha channel that hides nothing.
        if (FreeImage_GetBPP(bitmap) == 32 && FreeImage_GetColorType(bitmap) == FIC_RGB) {
            *layout = PixelLayout::Bgra8;
            return true;
        }
        return false;
    default:
        return false;
    }
}

int16_t HostDepthOf(FIBITMAP* bitmap)
{
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(bitmap);
    return type == FIT_RGB16 || type == FIT_RGBA16 ? 16 : 8;
}

bool HostTakesBitmap(FIBITMAP* bitmap)
{
    PixelLayout layout;
    return HostPixelLayoutOf(bitmap, &layout) && FreeImage_GetWidth(bitmap) <= LargestHostSide &&
           FreeImage_GetHeight(bitmap) <= LargestHostSide;
}

namespace {

// Bytes 16 to 19 of a profile name the colour space of the data it
// describes. The decoder turns CMYK files into RGB pixels but keeps their
// CMYK profile, which would misdescribe the document.
bool DescribesOtherThanRgb(const FIICCPROFILE* profile)
{
    return profile->size >= 20 && std::memcmp(static_cast<const char*>(profile->data) + 16, "RGB ", 4) != 0;
}

// A profile starts with a 128-byte header, its own size first, big-endian.
// Fewer bytes are no profile; one whose pieces were not all found (a file's
// markers or tag cut short) says more than it holds.
constexpr uint32_t ProfileHeaderSize = 128;

bool HoldsWhatItsHeaderSays(const FIICCPROFILE* profile)
{
    const auto* bytes = static_cast<const uint8_t*>(profile->data);
    if (profile->size < ProfileHeaderSize)
        return false;
    const uint32_t declared = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
    return declared == uint32_t(profile->size);
}

}  // namespace

const FIICCPROFILE* ProfileForHost(FIBITMAP* bitmap)
{
    const FIICCPROFILE* profile = FreeImage_GetICCProfile(bitmap);
    if (profile == nullptr || profile->data == nullptr || !HoldsWhatItsHeaderSays(profile) ||
        DescribesOtherThanRgb(profile))
        return nullptr;
    return profile;
}
