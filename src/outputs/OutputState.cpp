#include "outputs/OutputState.h"

char OutputFolder[PathCapacity] = "";
ScanCursorState ScanCursor = {};
Boolean MoreEntries = true;
WaitingList HandOffList = {};
