#include "support/FileContents.h"

#include "common/WideFiles.h"

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    return ReadFileData(path, &bytes) ? bytes : std::string();
}
