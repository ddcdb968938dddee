// What the module asks of the decoder and what it can hand to the host.
#pragma once

#include <cstdint>

#include <FreeImage.h>

#include "decode/PictureSize.h"
#include "decode/RowConversion.h"

// Format numbers follow the decoder's plugin registration order; a build of
// the decoder that registered fewer plugins would shift them.
static_assert(FIF_JPEG == 2 && FIF_TIFF == 18, "decoder format numbers moved");
static_assert(JPEG_ACCURATE == 2 && TIFF_DEFAULT == 0);
static_assert(FIC_RGB == 2 && FIT_RGB16 == 9 && FIT_RGBA16 == 10 && FIT_BITMAP == 1);
// The 8-bit row converters take blue, green, red in this order.
static_assert(FI_RGBA_BLUE == 0 && FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2 && FI_RGBA_ALPHA == 3,
              "the decoder stores 8-bit pixels in another order");

// True when the bitmap is one the strip transfer delivers with its own
// colours: 24-bit RGB, 48-bit RGB, or 32- and 64-bit RGB with an alpha
// channel opaque everywhere. layout receives how its scan lines are read.
// The decoder's grey, palette, CMYK and floating-point kinds are not.
bool HostPixelLayoutOf(FIBITMAP* bitmap, PixelLayout* layout);

// 16 for 48-bit RGB (and 64-bit RGBA), else 8.
int16_t HostDepthOf(FIBITMAP* bitmap);

// True for an RGB bitmap whose every pixel reaches the host as it is in the
// file, in a document of a size the host can describe.
bool HostTakesBitmap(FIBITMAP* bitmap);

// The bitmap's embedded profile when it may go to the host with the
// document: at least its 128-byte header, whole, and describing RGB data.
// Null otherwise.
const FIICCPROFILE* ProfileForHost(FIBITMAP* bitmap);
