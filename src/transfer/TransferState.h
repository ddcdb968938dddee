// The image of the current acquire cycle, from Start to its Finish.
#pragma once

#include "platform/Paths.h"

struct FIBITMAP;

extern char CurrentImagePath[PathCapacity];
extern FIBITMAP* CurrentBitmap;

// Unloads CurrentBitmap, if any, and leaves none.
void ReleaseCurrentBitmap();
