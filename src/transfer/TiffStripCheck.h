// A TIFF's strip and tile table checked against its picture before the
// decoder reads it.
#pragma once

#include <cstdio>

// False when the first picture of the TIFF in file is stored uncompressed
// and a strip or tile holds fewer bytes than its rows need. The TIFF library
// then reads on past the strip's end into whatever follows it (another
// strip, the file's own directory) and reports nothing. True otherwise, also
// when the file does not open as a TIFF (the decoder judges that). The file
// is left at its start.
bool StripTableFitsPicture(std::FILE* file);
