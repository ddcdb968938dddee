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

// Each entry is kept with a zero after it (the folder, as the converter
// wrote it, may hold any character but that one) and then one byte that
// tells whether it carries its folder's cleanup record.
constexpr size_t EntryTrailer = 2;
constexpr char NoRecord = 0;
constexpr char CarriesRecord = 1;

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

// The length of the entry at offset, without its trailer.
size_t EntryAt(size_t offset)
{
    return strnlen(HandOffList.bytes + offset, HandOffList.length - offset);
}

size_t NextEntry(size_t offset)
{
    return offset + EntryAt(offset) + EntryTrailer;
}

char& RecordMarkAt(size_t offset)
{
    return HandOffList.bytes[offset + EntryAt(offset) + 1];
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
    if (!MakeRoom(HandOffList.length + length + EntryTrailer))
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
    *target++ = '\0';
    *target = NoRecord;
    HandOffList.length += length + EntryTrailer;
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
        taken = NextEntry(taken);
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

bool HandOffWaitsFor(std::string_view folder)
{
    for (size_t offset = 0; offset < HandOffList.length; offset = NextEntry(offset))
        if (FolderOfEntry(offset) == folder)
            return true;
    return false;
}

bool CarryRecordOnLastEntry(std::string_view folder)
{
    size_t last = HandOffList.length;
    for (size_t offset = 0; offset < HandOffList.length; offset = NextEntry(offset))
        if (FolderOfEntry(offset) == folder)
            last = offset;
    if (last == HandOffList.length)
        return false;
    RecordMarkAt(last) = CarriesRecord;
    return true;
}

void DropRecordsOf(std::string_view folder)
{
    for (size_t offset = 0; offset < HandOffList.length; offset = NextEntry(offset))
        if (FolderOfEntry(offset) == folder)
            RecordMarkAt(offset) = NoRecord;
}

bool NextRecordInBatch(size_t taken, size_t& offset, std::string_view& folder)
{
    if (taken > HandOffList.length)
        taken = HandOffList.length;
    while (offset < taken) {
        const size_t entry = offset;
        offset = NextEntry(offset);
        if (RecordMarkAt(entry) == CarriesRecord) {
            folder = FolderOfEntry(entry);
            return true;
        }
    }
    return false;
}

void ReleaseHandOffList()
{
    delete[] HandOffList.bytes;
    HandOffList = WaitingList{};
}
