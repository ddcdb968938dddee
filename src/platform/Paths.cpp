#include "platform/Paths.h"

#include <cstring>

bool JoinPath(const char* folder, const char* name, char* target, size_t capacity)
{
    if (capacity == 0)
        return false;
    target[0] = '\0';
    const size_t folderLength = std::strlen(folder);
    const size_t nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength >= capacity)
        return false;
    std::memcpy(target, folder, folderLength);
    target[folderLength] = '\\';
    std::memcpy(target + folderLength + 1, name, nameLength + 1);
    return true;
}
