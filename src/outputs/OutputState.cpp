#include "outputs/OutputState.h"

char OutputFolder[PathCapacity] = "";
ScanCursorState ScanCursor = {};
Boolean MoreEntries = true;
char HandOffList[HandOffCapacity] = "";
char HandOffBacklog[HandOffBacklogCapacity] = "";
size_t HandOffBacklogLength = 0;
