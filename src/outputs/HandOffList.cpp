#include "outputs/HandOffList.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
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
// wrote it, may hold any character but that one) and then one unit that
// tells whether it carries its folder's cleanup record.
constexpr size_t EntryTrailer = 2;
constexpr wchar_t NoRecord = 0;
constexpr wchar_t CarriesRecord = 1;

bool MakeRoom(size_t needed)
{
    WaitingList& list = HandOffList;
    if (needed <= list.capacity)
        return true;
    size_t capacity = list.capacity != 0 ? list.capacity : FirstCapacity;
    while (capacity < needed) {
        if (capacity > SIZE_MAX / 2 / sizeof(wchar_t))
            return false;
        capacity *= 2;
    }
    wchar_t* bigger = nullptr;
    try {
        bigger = new wchar_t[capacity];
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (list.length != 0)
        std::wmemcpy(bigger, list.units, list.length);
    delete[] list.units;
    list.units = bigger;
    list.capacity = capacity;
    return true;
}

// The length of the entry at offset, without its trailer.
size_t EntryAt(size_t offset)
{
    return wcsnlen(HandOffList.units + offset, HandOffList.length - offset);
}

size_t NextEntry(size_t offset)
{
    return offset + EntryAt(offset) + EntryTrailer;
}

wchar_t& RecordMarkAt(size_t offset)
{
    return HandOffList.units[offset + EntryAt(offset) + 1];
}

// The folder of an entry: from after its opening quote to the last
// backslash, since a name from the folder's listing never holds one.
std::wstring_view FolderOfEntry(size_t offset)
{
    const wchar_t* entry = HandOffList.units + offset;
    size_t slash = EntryAt(offset);
    while (slash > 1 && entry[slash - 1] != L'\\')
        --slash;
    return slash > 1 ? std::wstring_view(entry + 1, slash - 2) : std::wstring_view();
}

// The name of an entry: from after the folder's backslash to its closing
// quote.
std::wstring_view NameOfEntry(size_t offset)
{
    const std::wstring_view folder = FolderOfEntry(offset);
    const size_t start = 1 + folder.size() + 1;
    const size_t end = EntryAt(offset) - 2;
    return end > start ? std::wstring_view(HandOffList.units + offset + start, end - start) : std::wstring_view();
}

}  // namespace

bool AppendHandOff(std::wstring_view folder, std::wstring_view name)
{
    const size_t length = EntryLength(folder.size(), name.size());
    if (!MakeRoom(HandOffList.length + length + EntryTrailer))
        return false;
    wchar_t* target = HandOffList.units + HandOffList.length;
    *target++ = L'"';
    target = std::copy(folder.begin(), folder.end(), target);
    *target++ = L'\\';
    target = std::copy(name.begin(), name.end(), target);
    *target++ = L'"';
    *target++ = L' ';
    *target++ = L'\0';
    *target = NoRecord;
    HandOffList.length += length + EntryTrailer;
    return true;
}

bool HandOffPending()
{
    return HandOffList.length != 0;
}

size_t NextHandOffBatch(wchar_t* arguments, size_t room)
{
    size_t taken = 0;
    size_t written = 0;
    while (taken < HandOffList.length) {
        const size_t length = EntryAt(taken);
        if (length > room - written)
            break;
        std::wmemcpy(arguments + written, HandOffList.units + taken, length);
        written += length;
        taken = NextEntry(taken);
    }
    arguments[written] = L'\0';
    return written != 0 ? taken : 0;
}

void DropHandOffBatch(size_t taken)
{
    WaitingList& list = HandOffList;
    if (taken > list.length)
        taken = list.length;
    std::wmemmove(list.units, list.units + taken, list.length - taken);
    list.length -= taken;
}

bool HandOffWaitsFor(std::wstring_view folder)
{
    for (size_t offset = 0; offset < HandOffList.length; offset = NextEntry(offset))
        if (FolderOfEntry(offset) == folder)
            return true;
    return false;
}

bool CarryRecordOnLastEntry(std::wstring_view folder)
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

void DropRecordsOf(std::wstring_view folder)
{
    for (size_t offset = 0; offset < HandOffList.length; offset = NextEntry(offset))
        if (FolderOfEntry(offset) == folder)
            RecordMarkAt(offset) = NoRecord;
}

bool NextRecordInBatch(size_t taken, size_t& offset, std::wstring_view& folder)
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

bool NextFileInBatch(size_t taken, size_t& offset, std::wstring_view& folder, std::wstring_view& name)
{
    if (taken > HandOffList.length)
        taken = HandOffList.length;
    if (offset >= taken)
        return false;
    folder = FolderOfEntry(offset);
    name = NameOfEntry(offset);
    offset = NextEntry(offset);
    return true;
}

void ReleaseHandOffList()
{
    delete[] HandOffList.units;
    HandOffList = WaitingList{};
}
