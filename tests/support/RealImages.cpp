#include "support/RealImages.h"

#include <windows.h>

#include "common/ProgramFolder.h"
#include "support/FileContents.h"

std::string RealImagesFolder()
{
    return BesideProgram("transfer-images");
}

std::string RealImage(const std::string& name)
{
    return InFolder(RealImagesFolder(), name);
}

std::string MissingRealImage(const std::string& name)
{
    if (GetFileAttributesA(RealImage(name).c_str()) != INVALID_FILE_ATTRIBUTES)
        return "";
    const std::string unmade = ReadFileBytes(RealImage(".unmade"));
    if (!unmade.empty())
        return name + " was not made: " + unmade;
    if (GetFileAttributesA(RealImage(".made").c_str()) == INVALID_FILE_ATTRIBUTES)
        return name + " was not made: the build did not run tests/transfer/real-images.sh";
    return name + " is missing: tests/transfer/real-images.sh did not make it, or it was removed since (without " +
           RealImage(".made") + " the next build makes them all again)";
}
