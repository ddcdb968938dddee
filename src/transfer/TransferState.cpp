#include "transfer/TransferState.h"

char CurrentImagePath[PathCapacity] = "";
FIBITMAP* CurrentBitmap = nullptr;
