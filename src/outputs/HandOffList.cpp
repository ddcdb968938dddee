#include "outputs/HandOffList.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "outputs/OutputState.h"

namespace {

constexpr size_t FirstCapacity = 4096;

// Quote, folder, backslash, name, quote and blank.
size_t EntryLength(size_t folderLength, size_t nameLength)
{
    return folderLength + nameLength + 4;
}

// Entries are kept with a zero after each: the folder, as the converter
// wrote it, may hold any character but that one.
bool MakeRoom(size_t needed)
{
    WaitingList& list = HandOffList;
    if (needed <= list.capacity)
        return true;
    size_t capacity = list.capacity != 0 ? list.capacity : FirstCapacity;
    while (capacity < needed) {
        if (capacity > SIZE_MAX / 2)
            return false;
        capacity *= 2;
    }
    char* bigger = nullptr;
    try {
        bigger = new char[capacity];
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (list.length != 0)
        std::memcpy(bigger, list.bytes, list.length);
    delete[] list.bytes;
    list.bytes = bigger;
    list.capacity = capacity;
    return true;
}

// The length of the entry at offset, without its zero.
size_t EntryAt(size_t offset)
{
    return strnlen(HandOffList.bytes + offset, HandOffList.length - offset);
}

// The folder of an entry: from after its opening quote to the last
// backslash, since a name from the folder's listing never holds one.
std::string_view FolderOfEntry(size_t offset)
{
    const char* entry = HandOffList.bytes + offset;
    size_t slash = EntryAt(offset);
    while (slash > 1 && entry[slash - 1] != '\\')
        --slash;
    return slash > 1 ? std::string_view(entry + 1, slash - 2) : std::string_view();
}

}  // namespace

bool AppendHandOff(const char* folder, const char* name)
{
    const size_t folderLength = std::strlen(folder);
    const size_t nameLength = std::strlen(name);
    const size_t length = EntryLength(folderLength, nameLength);
    if (!MakeRoom(HandOffList.length + length + 1))
        return false;
    char* target = HandOffList.bytes + HandOffList.length;
    *target++ = '"';
    std::memcpy(target, folder, folderLength);
    target += folderLength;
    *target++ = '\\';
    std::memcpy(target, name, nameLength);
    target += nameLength;
    *target++ = '"';
    *target++ = ' ';
    *target = '\0';
    HandOffList.length += length + 1;
    return true;
}

bool HandOffPending()
{
    return HandOffList.length != 0;
}

size_t NextHandOffBatch(char* arguments, size_t room)
{
    size_t taken = 0;
    size_t written = 0;
    while (taken < HandOffList.length) {
        const size_t length = EntryAt(taken);
        if (length > room - written)
            break;
        std::memcpy(arguments + written, HandOffList.bytes + taken, length);
        written += length;
        taken += length + 1;
    }
    arguments[written] = '\0';
    return written != 0 ? taken : 0;
}

void DropHandOffBatch(size_t taken)
{
    WaitingList& list = HandOffList;
    if (taken > list.length)
        taken = list.length;
    std::memmove(list.bytes, list.bytes + taken, list.length - taken);
    list.length -= taken;
}

bool NextBatchFolder(size_t taken, size_t& offset, std::string_view& folder)
{
    if (taken > HandOffList.length)
        taken = HandOffList.length;
    if (offset >= taken)
        return false;
    folder = FolderOfEntry(offset);
    while (offset < taken && FolderOfEntry(offset) == folder)
        offset += EntryAt(offset) + 1;
    return true;
}

bool HandOffWaitsFor(std::string_view folder, size_t from)
{
    for (size_t offset = from; offset < HandOffList.length; offset += EntryAt(offset) + 1)
        if (FolderOfEntry(offset) == folder)
            return true;
    return false;
}

void ReleaseHandOffList()
{
    delete[] HandOffList.bytes;
    HandOffList = WaitingList{};
}
