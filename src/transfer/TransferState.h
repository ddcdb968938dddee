// The image of the current acquire cycle, from Start to its Finish.
#pragma once

#include "platform/Paths.h"

struct FIBITMAP;

// The long form of its path; a buffer of its own, so that Start allocates
// nothing but the decoder's memory.
extern wchar_t CurrentImagePath[PathCapacity];
extern FIBITMAP* CurrentBitmap;

// Unloads CurrentBitmap, if any, and leaves none.
void ReleaseCurrentBitmap();

// When the module is unloaded: the bitmap of a cycle the host never
// finished, and the decoder's table of formats.
void ReleaseTransferState();
