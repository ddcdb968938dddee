#include "controller/HandOffList.h"

#include <cstring>

#include "shell/ModuleState.h"

namespace {

void AppendText(size_t& used, const char* text, size_t length)
{
    std::memcpy(HandOffList + used, text, length);
    used += length;
}

}  // namespace

bool AppendHandOff(const char* folder, const char* name)
{
    size_t used = strnlen(HandOffList, HandOffCapacity);
    size_t folderLength = std::strlen(folder);
    size_t nameLength = std::strlen(name);
    // Quote, folder, backslash, name, quote and blank. A list that somehow lost
    // its terminator is full.
    if (used >= HandOffCapacity || folderLength + nameLength + 4 > HandOffCapacity - 1 - used) {
        return false;
    }
    AppendText(used, "\"", 1);
    AppendText(used, folder, folderLength);
    AppendText(used, "\\", 1);
    AppendText(used, name, nameLength);
    AppendText(used, "\" ", 2);
    HandOffList[used] = '\0';
    return true;
}
