// Decoding one image file.
#pragma once

#include <cstdio>

struct FIBITMAP;

// What a file is decoded as, told by its name's class.
enum class PictureKind {
    Jpeg,
    Tiff,
};

// Why a file gave no bitmap.
enum class LoadRefusal {
    None,
    Unreadable,   // a header that contradicts itself, or picture data
                  // missing or damaged
    Unsupported,  // a sound picture too large, or stored in a layout the
                  // decoder cannot read
    Unavailable,  // nothing said of the picture: the file could not be read
                  // to its end, or memory ran out
};

// Decodes the open file (read from its start, left open) as kind. Null, with
// refusal saying why, when the file's header is judged before the decoder allocates anything (JpegHeaderCheck,
// TiffHeaderCheck) and refused, the file cannot be decoded, or the decoder
// reported picture data missing or damaged while decoding it (it then fills
// what it could not read, and such a bitmap is not the picture in the file).
// A null file, a read error or memory running out is Unavailable, whatever
// else the decoder said.
FIBITMAP* LoadImageFile(std::FILE* file, PictureKind kind, LoadRefusal* refusal);
