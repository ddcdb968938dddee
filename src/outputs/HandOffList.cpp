#include "outputs/HandOffList.h"

#include <cstring>

#include "outputs/OutputState.h"

namespace {

// Quote, folder, backslash, name, quote and blank.
size_t EntryLength(size_t folderLength, size_t nameLength)
{
    return folderLength + nameLength + 4;
}

void WriteEntry(char* target, const char* folder, size_t folderLength, const char* name, size_t nameLength)
{
    *target++ = '"';
    std::memcpy(target, folder, folderLength);
    target += folderLength;
    *target++ = '\\';
    std::memcpy(target, name, nameLength);
    target += nameLength;
    *target++ = '"';
    *target = ' ';
}

}  // namespace

bool AppendHandOff(const char* folder, const char* name)
{
    size_t used = strnlen(HandOffList, HandOffCapacity);
    size_t folderLength = std::strlen(folder);
    size_t nameLength = std::strlen(name);
    // A list that somehow lost its terminator is full.
    if (used >= HandOffCapacity || EntryLength(folderLength, nameLength) > HandOffCapacity - 1 - used)
        return false;
    WriteEntry(HandOffList + used, folder, folderLength, name, nameLength);
    HandOffList[used + EntryLength(folderLength, nameLength)] = '\0';
    return true;
}

bool KeepInBacklog(const char* folder, const char* name)
{
    size_t folderLength = std::strlen(folder);
    size_t nameLength = std::strlen(name);
    size_t length = EntryLength(folderLength, nameLength);
    // Every entry must also fit an empty HandOffList, to be launched one day.
    if (length > HandOffCapacity - 1 || HandOffBacklogLength > HandOffBacklogCapacity ||
        length + 1 > HandOffBacklogCapacity - HandOffBacklogLength)
        return false;
    WriteEntry(HandOffBacklog + HandOffBacklogLength, folder, folderLength, name, nameLength);
    HandOffBacklogLength += length;
    HandOffBacklog[HandOffBacklogLength++] = '\0';
    return true;
}

bool MoveBacklogIntoList()
{
    if (HandOffBacklogLength == 0 || HandOffList[0] != '\0')
        return false;
    // Entries are separated by zeros: the folder, as the converter wrote it,
    // may hold any character but that one.
    size_t taken = 0;
    size_t listed = 0;
    while (taken < HandOffBacklogLength) {
        size_t length = strnlen(HandOffBacklog + taken, HandOffBacklogLength - taken);
        if (listed + length > HandOffCapacity - 1)
            break;
        std::memcpy(HandOffList + listed, HandOffBacklog + taken, length);
        listed += length;
        taken += length + 1;
    }
    HandOffList[listed] = '\0';
    if (taken > HandOffBacklogLength)
        taken = HandOffBacklogLength;  // a last entry that lost its zero
    std::memmove(HandOffBacklog, HandOffBacklog + taken, HandOffBacklogLength - taken);
    HandOffBacklogLength -= taken;
    return listed != 0;
}

bool HandOffPending()
{
    return HandOffList[0] != '\0' || HandOffBacklogLength != 0;
}
