#include "outputs/NameClasses.h"

#include <cstring>
#include <iterator>

namespace {

constexpr size_t TailLength = 5;

// The part of the name compared with the extensions: its last five characters,
// less the first of them when that is not a dot, so that both ".jpg" (after
// any character) and ".jpeg" line up with the end of the name.
const char* ComparableTail(const char* name, size_t length)
{
    const char* tail = length < TailLength ? name : name + length - TailLength;
    return *tail == '.' ? tail : tail + 1;
}

bool EndsInOneOf(const char* name, const char* const* extensions, size_t count)
{
    if (name == nullptr || *name == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
        return false;
    }
    const char* tail = ComparableTail(name, std::strlen(name));
    for (size_t i = 0; i < count; i++) {
        if (std::strcmp(tail, extensions[i]) == 0) {
            return true;
        }
    }
    return false;
}

const char* const JpegExtensions[] = {".jpg", ".jpeg"};
const char* const TiffExtensions[] = {".tif", ".tiff"};
const char* const DngExtensions[] = {".dng"};

}  // namespace

bool IsJpegName(const char* name)
{
    return EndsInOneOf(name, JpegExtensions, std::size(JpegExtensions));
}

bool IsTiffName(const char* name)
{
    return EndsInOneOf(name, TiffExtensions, std::size(TiffExtensions));
}

bool IsDngName(const char* name)
{
    return EndsInOneOf(name, DngExtensions, std::size(DngExtensions));
}

bool IsSupportedName(const char* name)
{
    return IsJpegName(name) || IsTiffName(name) || IsDngName(name);
}
