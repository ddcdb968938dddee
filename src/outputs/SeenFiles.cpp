#include "outputs/SeenFiles.h"

#include <new>

#include "converter/RegistryState.h"
#include "outputs/OutputState.h"
#include "platform/Paths.h"

namespace {

SeenFolder* FindFolder(std::wstring_view identity)
{
    for (SeenFolder& folder : FilesSeen)
        if (SameFolderIdentity(folder.identity, identity))
            return &folder;
    return nullptr;
}

const SeenFile* FindFile(std::wstring_view identity, std::wstring_view name)
{
    const SeenFolder* folder = FindFolder(identity);
    if (folder == nullptr)
        return nullptr;
    const auto found = folder->files.find(name);
    return found != folder->files.end() ? &found->second : nullptr;
}

bool SameAsListed(const SeenFile& file, const WIN32_FIND_DATAW& entry)
{
    return CompareFileTime(&file.written, &entry.ftLastWriteTime) == 0 && file.sizeHigh == entry.nFileSizeHigh &&
           file.sizeLow == entry.nFileSizeLow;
}

}  // namespace

bool ListedNothing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

bool DngAlreadyTaken(std::wstring_view identity, const WIN32_FIND_DATAW& entry)
{
    const SeenFile* file = FindFile(identity, entry.cFileName);
    return file != nullptr && (!file->settled || SameAsListed(*file, entry));
}

void NoteFileSeen(std::wstring_view identity, const WIN32_FIND_DATAW& entry, bool settled)
{
    // A folder Windows cannot name in full is never recorded: nothing of it
    // is worth noting.
    if (identity.empty())
        return;
    try {
        SeenFolder* folder = FindFolder(identity);
        if (folder == nullptr) {
            FilesSeen.push_back(SeenFolder{std::wstring(identity), {}});
            folder = &FilesSeen.back();
        }
        folder->files.insert_or_assign(std::wstring(entry.cFileName),
                                       SeenFile{entry.ftLastWriteTime, entry.nFileSizeHigh, entry.nFileSizeLow,
                                                settled});
    } catch (const std::bad_alloc&) {
        // Unnoted, the file keeps its folder on disk.
    }
}

void SettleHandedOff(std::wstring_view identity, std::wstring_view name)
{
    SeenFolder* folder = FindFolder(identity);
    if (folder == nullptr)
        return;
    const auto found = folder->files.find(name);
    if (found != folder->files.end())
        found->second.settled = true;
}

bool HoldsOnlySettledFiles(const std::wstring& folder)
{
    const std::wstring identity = FolderIdentity(folder);
    std::wstring pattern;
    if (identity.empty() || !FileInFolder(folder, L"*", pattern))
        return false;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return ListedNothing(GetLastError());
    bool onlySettled = true;
    for (;;) {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            const SeenFile* file = FindFile(identity, entry.cFileName);
            if (file == nullptr || !file->settled || !SameAsListed(*file, entry)) {
                onlySettled = false;
                break;
            }
        }
        if (!FindNextFileW(search, &entry)) {
            onlySettled = GetLastError() == ERROR_NO_MORE_FILES;
            break;
        }
    }
    FindClose(search);
    return onlySettled;
}

void RecordWhenOnlySettled(const std::wstring& folder)
{
    if (HoldsOnlySettledFiles(folder))
        RecordCleanupFolder(folder);
    else
        ForgetCleanupFolder(folder);
}

void ReleaseFilesSeen()
{
    std::vector<SeenFolder>().swap(FilesSeen);
}
