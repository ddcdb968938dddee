// Images made by other programs (the test images of Debian's libjpeg-turbo
// and libtiff source packages), against decodes by Debian's own tools.
#include <gtest/gtest.h>

#include "selectors/ModuleState.h"
#include "support/TestSupport.h"
#include "support/TestImages.h"
#include "transfer/TransferHost.h"

namespace {

class RealImageTest : public ::testing::Test {
protected:
    static std::string Folder() { return BesideProgram("transfer-images"); }

    // Starts the import of a real image; false (and the test skipped) when
    // the build found no such image.
    bool Import(const std::string& name)
    {
        if (GetFileAttributesA((Folder() + "\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
        host.SetCurrentFile(Folder(), name);
        return true;
    }

    void ExpectImportedAs(const std::string& name, const std::string& reference)
    {
        const HostImage expected = ReadPpm(Folder() + "\\" + reference);
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

TEST_F(RealImageTest, GreyscaleTiffIsRefusedAsUnsupported)
{
    REQUIRE_IMAGE("minisblack-1c-8b.tiff");
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), -128);
    EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(4)});
    EXPECT_EQ(CurrentBitmap, nullptr);
}

}  // namespace
