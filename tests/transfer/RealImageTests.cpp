// Images made by other programs (the test images of Debian's libjpeg-turbo
// and libtiff source packages) and odd or damaged variants of them, against
// decodes by Debian's own tools.
#include <gtest/gtest.h>

#include "selectors/ModuleState.h"
#include "common/ProgramFolder.h"
#include "support/FileContents.h"
#include "support/RealImages.h"
#include "support/TestImages.h"
#include "support/TransferHost.h"

namespace {

class RealImageTest : public ::testing::Test {
protected:
    static std::string Folder() { return RealImagesFolder(); }

    void ExpectImportedAs(const std::string& name, const std::string& reference)
    {
        const HostImage expected = ReadPpm(InFolder(Folder(), reference));
        ASSERT_FALSE(expected.bytes.empty()) << MissingRealImage(reference);
        ASSERT_EQ(host.Start(), 0) << name;
        EXPECT_EQ(host.Record()->depth, expected.bytesPerChannel * 8);
        ASSERT_EQ(host.Continue(), 0) << name;
        ExpectSameImage(host.received, expected);
    }

    TransferHost host;
};

// The image made by the build becomes the current entry; a test whose image
// the build could not make fails, saying why.
#define REQUIRE_IMAGE(name)                  \
    ASSERT_EQ(MissingRealImage(name), ""); \
    host.SetCurrentFile(Folder(), name)

// The script that makes them stopped at nothing: a variant made after the
// point where it failed would be missing without a test naming it.
TEST(RealImages, BuildMadeEveryOne)
{
    EXPECT_EQ(ReadFileBytes(RealImage(".unmade")), "");
    EXPECT_EQ(MissingRealImage(".made"), "");
}

TEST_F(RealImageTest, EightBitTiffEqualsItsReferencePpm)
{
    REQUIRE_IMAGE("rgb-3c-8b.tiff");
    ExpectImportedAs("rgb-3c-8b.tiff", "rgb-3c-8b.ppm");
}

TEST_F(RealImageTest, SixteenBitTiffEqualsItsReferencePpm)
{
    REQUIRE_IMAGE("rgb-3c-16b.tiff");
    ExpectImportedAs("rgb-3c-16b.tiff", "rgb-3c-16b.ppm");
}

TEST_F(RealImageTest, JpegEqualsTheSystemDecoder)
{
    REQUIRE_IMAGE("testorig.jpg");
    ExpectImportedAs("testorig.jpg", "testorig.decoded.ppm");
}

// The system encoder embeds whatever profile it is given; the test profile of
// its sources is a CMYK printer profile, here put in front of RGB pixels.
TEST_F(RealImageTest, CmykProfileOfAnRgbJpegIsWithheldAndThePixelsArrive)
{
    REQUIRE_IMAGE("profiled.jpg");
    const std::vector<uint8_t> profile = ReadWholeFile(Folder() + "\\test1.icc");
    ASSERT_GE(profile.size(), 20u);
    ASSERT_EQ(std::string(profile.begin() + 16, profile.begin() + 20), "CMYK");
    ExpectImportedAs("profiled.jpg", "profiled.decoded.ppm");
    ASSERT_NE(CurrentBitmap, nullptr);
    const FIICCPROFILE* embedded = FreeImage_GetICCProfile(CurrentBitmap);
    ASSERT_EQ(size_t(embedded->size), profile.size()) << "the decoder found the profile";
    EXPECT_EQ(host.Record()->iCCprofileData, nullptr);
    EXPECT_EQ(host.Handles().created, 0);
}

// Odd files that lose no pixel, made from the real images by odd-images.py:
// each arrives as the independent decode of the file it was made from.
struct OddFile {
    const char* name;
    const char* reference;
    bool profileDamaged;
};

void PrintTo(const OddFile& odd, std::ostream* out)
{
    *out << odd.name;
}

class OddFileTest : public RealImageTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OddFileTest, ArrivesWithThePixelsOfItsSource)
{
    const OddFile& odd = GetParam();
    REQUIRE_IMAGE(odd.name);
    DialogWatcher boxes;
    ExpectImportedAs(odd.name, odd.reference);
    EXPECT_TRUE(boxes.Windows().empty());
    if (odd.profileDamaged) {
        EXPECT_EQ(host.Record()->iCCprofileData, nullptr) << "a damaged profile is not handed on";
        EXPECT_EQ(host.Handles().created, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(RealImage, OddFileTest, ::testing::Values(
    OddFile{"jfif-2.01.jpg", "testorig.decoded.ppm", false},
    OddFile{"jfxx-without-jfif.jpg", "testorig.decoded.ppm", false},
    OddFile{"icc-sequence-wrong.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-sequence-duplicate.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-sequence-missing.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-count-wrong.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-piece-short.jpg", "icc-split.decoded.ppm", true},
    OddFile{"private-tags.tiff", "rgb-3c-8b.ppm", false},
    // Thumbnails are not read: a raw one declaring 100000 x 100000 pixels, a
    // sub-picture of 32769 x 32768, an EXIF thumbnail of five components or
    // cut short decide nothing about the picture.
    OddFile{"resource-thumbnail-huge.tiff", "small-picture.ppm", false},
    OddFile{"thumbnail-32769x32768.tiff", "small-picture.ppm", false},
    OddFile{"thumbnail-five-components.jpg", "testorig.decoded.ppm", false},
    OddFile{"thumbnail-cut.jpg", "testorig.decoded.ppm", false},
    // Rows in stored order, whatever the Orientation tag says.
    OddFile{"orientation-3-rgb-3c-8b.tiff", "rgb-3c-8b.ppm", false},
    OddFile{"orientation-6-rgb-3c-8b.tiff", "rgb-3c-8b.ppm", false},
    // 16-bit RGB with an alpha channel opaque everywhere is RGB.
    OddFile{"rgba16-opaque.tiff", "rgb-3c-16b.ppm", false}));

// Files whose profile reaches the host whole: the sound file the ICC
// variants were made from (nine APP2 pieces), and a TIFF with an EXIF
// directory, as converters write them (its profile was read from freed
// memory once the decoder had visited that directory).
struct ProfiledFile {
    const char* name;
    const char* reference;
};

class ProfiledFileTest : public RealImageTest, public ::testing::WithParamInterface<ProfiledFile> {};

TEST_P(ProfiledFileTest, ProfileReachesTheHostWhole)
{
    REQUIRE_IMAGE(GetParam().name);
    ExpectImportedAs(GetParam().name, GetParam().reference);
    const std::vector<uint8_t> profile = ReadWholeFile(Folder() + "\\rgb-labelled.icc");
    const AcquireRecord* r = host.Record();
    ASSERT_NE(r->iCCprofileData, nullptr);
    ASSERT_EQ(size_t(r->iCCprofileSize), profile.size());
    EXPECT_EQ(std::vector<uint8_t>(*r->iCCprofileData, *r->iCCprofileData + profile.size()), profile);
}

INSTANTIATE_TEST_SUITE_P(RealImage, ProfiledFileTest, ::testing::Values(
    ProfiledFile{"icc-split.jpg", "icc-split.decoded.ppm"},
    ProfiledFile{"profile-and-exif.tiff", "rgb-3c-8b.ppm"}));

// Files refused with a message: picture data missing or garbled, a header
// that contradicts itself (message 3); a sound picture larger than a
// document or the decoder can hold, or stored in tiles with separate colour
// planes (message 4). Several of the large ones crashed the host. A 64-bit
// process gets the 2.7 GB bitmap of a crafted JPEG within the sides and
// finds its few kilobytes of picture data damaged.
constexpr int OverTwoGigabytesMessage = sizeof(void*) == 4 ? 4 : 3;

struct RefusedFile {
    const char* name;
    int message;
};

void PrintTo(const RefusedFile& refused, std::ostream* out)
{
    *out << refused.name;
}

class RefusedFileTest : public RealImageTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedFileTest, GetsItsMessageNotAnInventedPicture)
{
    REQUIRE_IMAGE(GetParam().name);
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), -128);
    EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(GetParam().message)});
    EXPECT_EQ(CurrentBitmap, nullptr);
    EXPECT_EQ(host.Handles().created, 0);
}

INSTANTIATE_TEST_SUITE_P(RealImage, RefusedFileTest, ::testing::Values(
    RefusedFile{"jpeg-truncated.jpg", 3}, RefusedFile{"jpeg-garbled.jpg", 3},
    RefusedFile{"jfif-2.01-truncated.jpg", 3},  // damage after a harmless message
    // Stray bytes before a marker and odd scan parameters: what damaged
    // picture data looks like to the decoder.
    RefusedFile{"stray-before-frame.jpg", 3}, RefusedFile{"stray-before-end.jpg", 3},
    RefusedFile{"spectral-end.jpg", 3},
    RefusedFile{"strip-table-short.tiff", 3}, RefusedFile{"rows-missing.tiff", 3},
    RefusedFile{"strip-beyond-file.tiff", 3}, RefusedFile{"jpeg-strip-cut.tiff", 3},
    RefusedFile{"jpeg-strip-garbled.tiff", 3}, RefusedFile{"jpeg-strip-size.tiff", 3},
    RefusedFile{"logluv-one-sample.tiff", 3},  // the decoder read past its strip buffer and crashed
    RefusedFile{"ycbcr-one-sample.tiff", 3},
    RefusedFile{"ycbcr-32769x32768.tiff", 4}, RefusedFile{"lab-32769x32768.tiff", 4},
    // 4 GB for the RGBA reader, which keeps 32-bit sizes in either process.
    RefusedFile{"ycbcr-32767x32767.tiff", 4}, RefusedFile{"jpeg-32768-wide.jpg", 4},
    RefusedFile{"jpeg-32768-wide-stray.jpg", 4}, RefusedFile{"jpeg-30000-square.jpg", OverTwoGigabytesMessage},
    RefusedFile{"jpeg-frame-length.jpg", 3},
    RefusedFile{"tiled-separate.tiff", 4}, RefusedFile{"icclab.tiff", 4},
    RefusedFile{"ycbcr-16-bit.tiff", 4},
    // Sound kinds the module makes no document of: JPEG frames of 2, 4
    // (CMYK) and 5 components (the decoder wrote five bytes a pixel into
    // rows of one), CMYK and transparent TIFFs, and codecs the decoder is
    // not built with.
    RefusedFile{"components-2.jpg", 4}, RefusedFile{"components-4.jpg", 4}, RefusedFile{"components-5.jpg", 4},
    RefusedFile{"cmyk.tiff", 4}, RefusedFile{"rgba16-transparent.tiff", 4},
    RefusedFile{"compression-zstd.tiff", 4}, RefusedFile{"compression-webp.tiff", 4},
    RefusedFile{"compression-lerc.tiff", 4}, RefusedFile{"compression-jbig.tiff", 4},
    RefusedFile{"compression-lzma.tiff", 4}));

// The file the damaged JPEG-in-TIFF variants were made from; with an
// Orientation tag it arrives as it does without (the reader it takes, unlike
// the others, once mirrored or turned the picture by the tag).
TEST_F(RealImageTest, JpegCompressedTiffImportsInStoredOrder)
{
    REQUIRE_IMAGE("jpeg-strips.tiff");
    ASSERT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->imageSize.v, 151);
    ASSERT_EQ(host.Continue(), 0);
    const HostImage stored = host.received;
    for (const char* turned : {"orientation-3-jpeg-strips.tiff", "orientation-6-jpeg-strips.tiff"}) {
        TransferHost other;
        ASSERT_NE(GetFileAttributesA(InFolder(Folder(), turned).c_str()), INVALID_FILE_ATTRIBUTES) << turned;
        other.SetCurrentFile(Folder(), turned);
        ASSERT_EQ(other.Start(), 0) << turned;
        ASSERT_EQ(other.Continue(), 0) << turned;
        ExpectSameImage(other.received, stored);
    }
}

TEST_F(RealImageTest, GreyscaleTiffIsRefusedAsUnsupported)
{
    REQUIRE_IMAGE("minisblack-1c-8b.tiff");
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), -128);
    EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(4)});
    EXPECT_EQ(CurrentBitmap, nullptr);
}

}  // namespace
