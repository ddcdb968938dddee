#include "outputs/NameClasses.h"

#include <iterator>
#include <string_view>

namespace {

constexpr size_t TailLength = 5;

// The part of the name compared with the extensions: its last five characters,
// less the first of them when that is not a dot, so that both ".jpg" (after
// any character) and ".jpeg" line up with the end of the name.
template <typename Char>
std::basic_string_view<Char> ComparableTail(std::basic_string_view<Char> name)
{
    std::basic_string_view<Char> tail = name.size() < TailLength ? name : name.substr(name.size() - TailLength);
    return tail.front() == Char('.') ? tail : tail.substr(1);
}

// Extensions are ASCII: compared unit by unit with the name's tail, exactly
// and with case.
template <typename Char>
bool SameExtension(std::basic_string_view<Char> tail, std::string_view extension)
{
    if (tail.size() != extension.size())
        return false;
    for (size_t i = 0; i < tail.size(); i++)
        if (tail[i] != Char(extension[i]))
            return false;
    return true;
}

template <typename Char, size_t Count>
bool EndsInOneOf(const Char* text, const std::string_view (&extensions)[Count])
{
    if (text == nullptr)
        return false;
    const std::basic_string_view<Char> name(text);
    // Not "", "." or "..".
    if (name.empty() || (name.size() <= 2 && name.find_first_not_of(Char('.')) == name.npos))
        return false;
    const std::basic_string_view<Char> tail = ComparableTail(name);
    for (const std::string_view extension : extensions)
        if (SameExtension(tail, extension))
            return true;
    return false;
}

constexpr std::string_view JpegExtensions[] = {".jpg", ".jpeg"};
constexpr std::string_view TiffExtensions[] = {".tif", ".tiff"};
constexpr std::string_view DngExtensions[] = {".dng"};

}  // namespace

bool IsJpegName(const wchar_t* name) { return EndsInOneOf(name, JpegExtensions); }
bool IsTiffName(const wchar_t* name) { return EndsInOneOf(name, TiffExtensions); }
bool IsDngName(const wchar_t* name) { return EndsInOneOf(name, DngExtensions); }
bool IsSupportedName(const wchar_t* name)
{
    return IsJpegName(name) || IsTiffName(name) || IsDngName(name);
}
