#include "transfer/TransferState.h"

#include <FreeImage.h>

char CurrentImagePath[PathCapacity] = "";
FIBITMAP* CurrentBitmap = nullptr;

void ReleaseCurrentBitmap()
{
    if (CurrentBitmap != nullptr) {
        FreeImage_Unload(CurrentBitmap);
        CurrentBitmap = nullptr;
    }
}
