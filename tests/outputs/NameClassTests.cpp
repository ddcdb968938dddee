// Which output files are imported, handed off or skipped, judged by name alone.
#include <gtest/gtest.h>

#include "outputs/NameClasses.h"

namespace {

enum class Class { Jpeg, Tiff, Dng, Unsupported };

Class Classify(const char* name)
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
    const char* name;
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
        {"photo.jpg", Class::Jpeg},
        {"photo.jpeg", Class::Jpeg},
        {"scan.tif", Class::Tiff},
        {"scan.tiff", Class::Tiff},
        {"raw.dng", Class::Dng},
        {"a.jpg", Class::Jpeg},
        {".dng", Class::Dng},
        {"photo.JPG", Class::Unsupported},
        {"a..jpg", Class::Unsupported},
        {"photojpeg", Class::Unsupported},
        {"photo.jpg.txt", Class::Unsupported},
    });
}

TEST(NameClasses, ExtensionsAreComparedWithTheirCase)
{
    ExpectClasses({
        {"IMG_0001.JPG", Class::Unsupported},
        {"scan.Tif", Class::Unsupported},
        {"raw.DNG", Class::Unsupported},
    });
}

TEST(NameClasses, ShortNames)
{
    ExpectClasses({
        {".jpg", Class::Jpeg},
        {".tif", Class::Tiff},
        {".dng", Class::Dng},
        {"xdng", Class::Unsupported},
        {"xjpg", Class::Unsupported},
        {"dng", Class::Unsupported},
        {"jpg", Class::Unsupported},
        {"ng", Class::Unsupported},
        {"g", Class::Unsupported},
        {"", Class::Unsupported},
        {".jpeg", Class::Jpeg},
        {".tiff", Class::Tiff},
        {"..dng", Class::Unsupported},
    });
}

TEST(NameClasses, FolderEntriesForTheFolderAndItsParentAreSkipped)
{
    ExpectClasses({{".", Class::Unsupported}, {"..", Class::Unsupported}});
}

}  // namespace
