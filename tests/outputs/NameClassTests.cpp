// Which output files are imported, handed off or skipped, judged by name alone.
#include <gtest/gtest.h>

#include "outputs/NameClasses.h"

namespace {

enum class Class { Jpeg, Tiff, Dng, Unsupported };

Class Classify(const wchar_t* name)
{
    int classes = IsJpegName(name) + IsTiffName(name) + IsDngName(name);
    EXPECT_LE(classes, 1) << name << " is of several classes";
    EXPECT_EQ(IsSupportedName(name), classes == 1) << name;
    if (IsJpegName(name)) {
        return Class::Jpeg;
    }
    if (IsTiffName(name)) {
        return Class::Tiff;
    }
    return IsDngName(name) ? Class::Dng : Class::Unsupported;
}

struct NamedCase {
    const wchar_t* name;
    Class expected;
};

void ExpectClasses(std::initializer_list<NamedCase> cases)
{
    for (const NamedCase& c : cases) {
        EXPECT_EQ(Classify(c.name), c.expected) << "name \"" << c.name << "\"";
    }
}

TEST(NameClasses, WorkedExamplesOfTheTailRule)
{
    ExpectClasses({
        {L"photo.jpg", Class::Jpeg},
        {L"photo.jpeg", Class::Jpeg},
        {L"scan.tif", Class::Tiff},
        {L"scan.tiff", Class::Tiff},
        {L"raw.dng", Class::Dng},
        {L"a.jpg", Class::Jpeg},
        {L".dng", Class::Dng},
        {L"photo.JPG", Class::Unsupported},
        {L"a..jpg", Class::Unsupported},
        {L"photojpeg", Class::Unsupported},
        {L"photo.jpg.txt", Class::Unsupported},
    });
}

TEST(NameClasses, ExtensionsAreComparedWithTheirCase)
{
    ExpectClasses({
        {L"IMG_0001.JPG", Class::Unsupported},
        {L"scan.Tif", Class::Unsupported},
        {L"raw.DNG", Class::Unsupported},
    });
}

TEST(NameClasses, ShortNames)
{
    ExpectClasses({
        {L".jpg", Class::Jpeg},
        {L".tif", Class::Tiff},
        {L".dng", Class::Dng},
        {L"xdng", Class::Unsupported},
        {L"xjpg", Class::Unsupported},
        {L"dng", Class::Unsupported},
        {L"jpg", Class::Unsupported},
        {L"ng", Class::Unsupported},
        {L"g", Class::Unsupported},
        {L"", Class::Unsupported},
        {L".jpeg", Class::Jpeg},
        {L".tiff", Class::Tiff},
        {L"..dng", Class::Unsupported},
    });
}

// Any character Windows allows in a name, a surrogate pair included, before
// the extension; only the ASCII extension itself counts.
TEST(NameClasses, NamesOutsideTheCodePageAreClassedByTheirExtension)
{
    ExpectClasses({
        {L"\u5199\u771f.jpg", Class::Jpeg},
        {L"\u0141\u00f3d\u017a.dng", Class::Dng},
        {L"\U0001F4F7 rose.tif", Class::Tiff},
        {L"\U0001F4F7.jpeg", Class::Jpeg},
        {L"photo.\uFF4Apg", Class::Unsupported},
        {L"photo\uFF0Ejpg", Class::Unsupported},
    });
}

TEST(NameClasses, FolderEntriesForTheFolderAndItsParentAreSkipped)
{
    ExpectClasses({{L".", Class::Unsupported}, {L"..", Class::Unsupported}});
}

}  // namespace
