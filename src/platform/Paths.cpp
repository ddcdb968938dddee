#include "platform/Paths.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t LongPrefix[] = L"\\\\?\\";
constexpr size_t LongPrefixLength = 4;
constexpr wchar_t LongNetworkPrefix[] = L"\\\\?\\UNC\\";
constexpr size_t LongNetworkPrefixLength = 8;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Writes the long form of path into target; returns its length, 0 when it
// cannot be made or does not fit in capacity units with the terminator.
size_t WriteLongForm(const wchar_t* path, wchar_t* target, size_t capacity)
{
    if (path[0] == L'\0' || capacity <= LongNetworkPrefixLength)
        return 0;
    if (std::wcsncmp(path, LongPrefix, LongPrefixLength) == 0) {
        const size_t length = std::wcslen(path);
        if (length >= capacity)
            return 0;
        std::wmemcpy(target, path, length + 1);
        return length;
    }
    // The full path is made after room for the longer prefix, then moved
    // to follow the prefix it takes.
    wchar_t* full = target + LongNetworkPrefixLength;
    const DWORD room = DWORD(capacity - LongNetworkPrefixLength);
    const DWORD length = GetFullPathNameW(path, room, full, nullptr);
    if (length == 0 || length >= room || length < 3)
        return 0;
    if (IsSeparator(full[0]) && IsSeparator(full[1])) {
        // "\\.\" names a device, which has no long form of its own.
        if (full[2] == L'.') {
            std::wmemmove(target, full, length + 1);
            return length;
        }
        std::wmemmove(target + LongNetworkPrefixLength, full + 2, length - 1);
        std::wmemcpy(target, LongNetworkPrefix, LongNetworkPrefixLength);
        return LongNetworkPrefixLength + length - 2;
    }
    std::wmemmove(target + LongPrefixLength, full, length + 1);
    std::wmemcpy(target, LongPrefix, LongPrefixLength);
    return LongPrefixLength + length;
}

}  // namespace

bool IsPlainName(std::wstring_view name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    return name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

std::wstring LongPathForm(const std::wstring& path)
{
    std::wstring form(PathCapacity + LongNetworkPrefixLength, L'\0');
    form.resize(WriteLongForm(path.c_str(), form.data(), form.size()));
    return form;
}

bool FileInFolder(const wchar_t* folder, std::wstring_view name, wchar_t* target, size_t capacity)
{
    if (capacity == 0)
        return false;
    target[0] = L'\0';
    if (!IsPlainName(name))
        return false;
    size_t length = WriteLongForm(folder, target, capacity);
    // The long form is taken literally: one separator between folder and
    // name, even when the folder is a root or was written with a trailing one.
    while (length > 0 && target[length - 1] == L'\\')
        --length;
    if (length == 0 || length + 1 + name.size() >= capacity) {
        target[0] = L'\0';
        return false;
    }
    target[length++] = L'\\';
    std::wmemcpy(target + length, name.data(), name.size());
    target[length + name.size()] = L'\0';
    return true;
}

bool FileInFolder(const std::wstring& folder, std::wstring_view name, std::wstring& target)
{
    target.assign(PathCapacity, L'\0');
    const bool made = FileInFolder(folder.c_str(), name, target.data(), target.size());
    target.resize(made ? std::wcslen(target.c_str()) : 0);
    return made;
}

std::wstring FolderIdentity(const std::wstring& folder)
{
    std::wstring identity = LongPathForm(folder);
    while (!identity.empty() && identity.back() == L'\\')
        identity.pop_back();
    return identity;
}

bool SameFolderIdentity(std::wstring_view a, std::wstring_view b)
{
    // A folder Windows could not name in full is the same as none other.
    if (a.empty() || a.size() != b.size())
        return false;
    return CompareStringOrdinal(a.data(), int(a.size()), b.data(), int(b.size()), TRUE) == CSTR_EQUAL;
}
