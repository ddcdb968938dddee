#include "transfer/TransferState.h"

#include <FreeImage.h>

wchar_t CurrentImagePath[PathCapacity] = L"";
FIBITMAP* CurrentBitmap = nullptr;

void ReleaseCurrentBitmap()
{
    if (CurrentBitmap != nullptr) {
        FreeImage_Unload(CurrentBitmap);
        CurrentBitmap = nullptr;
    }
}

void ReleaseTransferState()
{
    ReleaseCurrentBitmap();
    // The decoder is set up once per load, on first use; until then it holds
    // no formats. Its table lists built-in formats only (no plugin files are
    // loaded), so freeing it frees memory and loads or frees no library.
    if (FreeImage_GetFIFCount() > 0)
        FreeImage_DeInitialise();
}
