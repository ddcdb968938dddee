// Decoding one image file.
#pragma once

struct FIBITMAP;

// Why a file gave no bitmap.
enum class LoadRefusal {
    None,
    Unreadable,   // not a JPEG or TIFF name, no such file, a header that
                  // contradicts itself, or picture data missing or damaged
    Unsupported,  // a sound picture too large, or stored in a layout the
                  // decoder cannot read
};

// Decodes the file at path as JPEG or TIFF, by the class of name. Null, with
// refusal saying why, when the name is of neither class, the file's header
// is judged before the decoder allocates anything (JpegHeaderCheck,
// TiffHeaderCheck) and refused, the file cannot be decoded, or the decoder
// reported picture data missing or damaged while decoding it (it then fills
// what it could not read, and such a bitmap is not the picture in the file).
FIBITMAP* LoadImageFile(const char* path, const char* name, LoadRefusal* refusal);
