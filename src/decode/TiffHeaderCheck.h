// A TIFF's first directory and its strip and tile table judged before the
// decoder reads the picture.
#pragma once

#include <cstdio>

#include "decode/PictureSize.h"

// The verdict on the first picture of the TIFF in file:
// - Contradictory when the directory declares fewer samples than its colour
//   kind has, or the strip or tile table does not fit the picture: a strip
//   or tile ends beyond the file, or the picture is stored uncompressed and
//   a strip or tile holds fewer bytes than its rows need (the TIFF library
//   reads uncompressed strips by the rows they should hold, past a strip's
//   recorded end into whatever follows it, and reports nothing);
// - TooLarge by JudgePictureSize on the largest whole-picture buffer the
//   decoder makes for its kind, when the RGBA reader's block would be over
//   LargestRgbaBlock, or when one tile alone is over LargestDecoderBlock;
// - UnsupportedLayout for tiles with separate colour planes, which the
//   decoder reads only for the kinds it converts through its RGBA reader,
//   for the ICC and ITU encodings of L*a*b*, which that reader lacks, and
//   for YCbCr of other than three 8-bit samples, which it does not turn;
// - else Decodable, also when the file does not open as a TIFF (the decoder
//   judges that). The file is left at its start.
HeaderVerdict CheckTiffHeader(std::FILE* file);
