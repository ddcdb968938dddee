// Decoding one image file.
#pragma once

struct FIBITMAP;

// Decodes the file at path as JPEG or TIFF, by the class of name. Null when
// the name is of neither class, the file cannot be decoded, or the decoder
// reported picture data missing or damaged while decoding it (it then fills
// what it could not read, and such a bitmap is not the picture in the file).
FIBITMAP* LoadImageFile(const char* path, const char* name);
