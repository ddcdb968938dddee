// Images made by other programs (the test images of Debian's libjpeg-turbo
// and libtiff source packages) and odd or damaged variants of them, against
// decodes by Debian's own tools.
#include <gtest/gtest.h>

#include "selectors/ModuleState.h"
#include "common/ProgramFolder.h"
#include "support/TestImages.h"
#include "support/TransferHost.h"

namespace {

class RealImageTest : public ::testing::Test {
protected:
    static std::string Folder() { return BesideProgram("transfer-images"); }

    // Starts the import of a real image; false (and the test skipped) when
    // the build found no such image.
    bool Import(const std::string& name)
    {
        if (GetFileAttributesA(InFolder(Folder(), name).c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
        host.SetCurrentFile(Folder(), name);
        return true;
    }

    void ExpectImportedAs(const std::string& name, const std::string& reference)
    {
        const HostImage expected = ReadPpm(InFolder(Folder(), reference));
        ASSERT_FALSE(expected.bytes.empty()) << reference;
        ASSERT_EQ(host.Start(), 0) << name;
        EXPECT_EQ(host.Record()->depth, expected.bytesPerChannel * 8);
        ASSERT_EQ(host.Continue(), 0) << name;
        ExpectSameImage(host.received, expected);
    }

    TransferHost host;
};

#define REQUIRE_IMAGE(name)                                                      \
    if (!Import(name))                                                           \
    GTEST_SKIP() << name << " is not in the build (no source package of it)"

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
    OddFile{"stray-before-frame.jpg", "testorig.decoded.ppm", false},
    OddFile{"stray-before-end.jpg", "testorig.decoded.ppm", false},
    OddFile{"jfif-2.01.jpg", "testorig.decoded.ppm", false},
    OddFile{"spectral-end.jpg", "testorig.decoded.ppm", false},
    OddFile{"jfxx-without-jfif.jpg", "testorig.decoded.ppm", false},
    OddFile{"icc-sequence-wrong.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-sequence-duplicate.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-sequence-missing.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-count-wrong.jpg", "icc-split.decoded.ppm", true},
    OddFile{"icc-piece-short.jpg", "icc-split.decoded.ppm", true},
    OddFile{"private-tags.tiff", "rgb-3c-8b.ppm", false}));

// The sound file the ICC variants were made from: its nine APP2 pieces make
// the whole profile, which reaches the host.
TEST_F(RealImageTest, ProfileSplitOverNineMarkersReachesTheHostWhole)
{
    REQUIRE_IMAGE("icc-split.jpg");
    ExpectImportedAs("icc-split.jpg", "icc-split.decoded.ppm");
    const std::vector<uint8_t> profile = ReadWholeFile(Folder() + "\\rgb-labelled.icc");
    const AcquireRecord* r = host.Record();
    ASSERT_NE(r->iCCprofileData, nullptr);
    ASSERT_EQ(size_t(r->iCCprofileSize), profile.size());
    EXPECT_EQ(std::vector<uint8_t>(*r->iCCprofileData, *r->iCCprofileData + profile.size()), profile);
}

// Damaged files: picture data missing or garbled, each refused as unreadable.
class DamagedFileTest : public RealImageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedFileTest, IsAnImportErrorNotAnInventedPicture)
{
    REQUIRE_IMAGE(GetParam());
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), -128);
    EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(3)});
    EXPECT_EQ(CurrentBitmap, nullptr);
    EXPECT_EQ(host.Handles().created, 0);
}

INSTANTIATE_TEST_SUITE_P(RealImage, DamagedFileTest, ::testing::Values(
    "jpeg-truncated.jpg", "jpeg-garbled.jpg",
    "jfif-2.01-truncated.jpg",  // damage after a harmless message
    "strip-table-short.tiff", "rows-missing.tiff", "strip-beyond-file.tiff",
    "jpeg-strip-cut.tiff", "jpeg-strip-garbled.tiff", "jpeg-strip-size.tiff",
    "logluv-one-sample.tiff"));  // the decoder read past its strip buffer and crashed

// The file the damaged JPEG-in-TIFF variants were made from.
TEST_F(RealImageTest, JpegCompressedTiffImports)
{
    REQUIRE_IMAGE("jpeg-strips.tiff");
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->imageSize.v, 151);
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
