// A JPEG's frame header judged before the decoder reads the file.
#pragma once

#include <cstdio>

#include "decode/PictureSize.h"

// The verdict on the first frame header of the JPEG in file: its size as
// JudgePictureSize sees the bitmap the decoder would make of it, and
// Contradictory for a frame header whose length disagrees with its component
// count. Decodable when no frame header is found before the first scan (the
// decoder judges such a file). The file is left at its start.
HeaderVerdict CheckJpegHeader(std::FILE* file);
