#include "transfer/ImageFormats.h"

bool HostPixelLayoutOf(FIBITMAP* bitmap, PixelLayout* layout)
{
    switch (FreeImage_GetImageType(bitmap)) {
    case FIT_RGB16:
        *layout = PixelLayout::Rgb16;
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
    return FreeImage_GetImageType(bitmap) == FIT_RGB16 ? 16 : 8;
}
