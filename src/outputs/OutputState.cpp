#include "outputs/OutputState.h"

std::wstring OutputFolder;
ScanCursorState ScanCursor = {};
Boolean MoreEntries = true;
WaitingList HandOffList = {};
std::vector<SeenFolder> FilesSeen;
