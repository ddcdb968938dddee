// A TIFF's strip and tile table checked against its picture before the
// decoder reads it.
#pragma once

#include <cstdio>

// False when a strip or tile of the first picture of the TIFF in file ends
// beyond the file, or the picture is stored uncompressed and a strip or tile
// holds fewer bytes than its rows need. The TIFF library reads uncompressed
// strips by the rows they should hold, past a strip's recorded end into
// whatever follows it (another strip, the file's own directory), and reports
// nothing. True otherwise, also when the file does not open as a TIFF (the
// decoder judges that). The file is left at its start.
bool StripTableFitsPicture(std::FILE* file);
