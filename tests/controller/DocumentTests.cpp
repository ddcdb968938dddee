// The documents the host ends up with after a whole import: pixels, depth and
// colour profile as the files hold them.
#include <gtest/gtest.h>

#include "controller/ImportRunFixture.h"
#include "transfer/TestImages.h"

namespace {

class DocumentRunTest : public ImportRunTest {
protected:
    // A JPEG carrying an embedded colour profile.
    std::string JpegWithProfile(const std::vector<uint8_t>& profile)
    {
        std::string path = scratch.Inside("sources\\profiled.jpg");
        FIBITMAP* bitmap = MakeRgb24(16, 10);
        FreeImage_CreateICCProfile(bitmap, const_cast<uint8_t*>(profile.data()), long(profile.size()));
        EXPECT_TRUE(SaveAndUnload(bitmap, FIF_JPEG, path, JPEG_QUALITYSUPERB));
        return path;
    }
};

TEST_F(DocumentRunTest, SixteenBitTiffArrivesSampleForSampleAtDepthSixteen)
{
    Export({Tiff("deep.tif")});
    HostReport report = Run();
    ASSERT_EQ(report.documents.size(), 1u);
    const DocumentRecord& document = report.documents[0];
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.depth, 16);
    EXPECT_EQ(document.mode, ImageModeRGB);
    EXPECT_EQ(document.planes, 3);
    EXPECT_EQ(document.hRes, 0x00480000);
    EXPECT_EQ(document.vRes, 0x00480000);
    HostImage expected = ExpectedRgb48(12, 8);
    EXPECT_EQ(document.width, expected.width);
    EXPECT_EQ(document.height, expected.height);
    EXPECT_EQ(document.pixels, expected.bytes);
}

TEST_F(DocumentRunTest, JpegArrivesAsItsIndependentDecodeWithItsProfile)
{
    std::vector<uint8_t> profile = MakeProfileBytes(3000);
    std::string source = JpegWithProfile(profile);
    Export({{source, "IMG_0001.jpg"}});
    HostReport report = Run();
    ASSERT_EQ(report.documents.size(), 1u);
    const DocumentRecord& document = report.documents[0];
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.filename, "IMG_0001.jpg");
    EXPECT_EQ(document.depth, 8);
    EXPECT_EQ(document.pixels, DecodeForComparison(FIF_JPEG, source, JPEG_ACCURATE).bytes);
    EXPECT_TRUE(document.hasProfile);
    EXPECT_EQ(document.profileSizeField, int32_t(profile.size()));
    EXPECT_EQ(document.profile, profile);
}

TEST_F(DocumentRunTest, RefusedProfilesLeaveTheDocumentWithout)
{
    std::string source = JpegWithProfile(MakeProfileBytes(600));
    Export({{source, "a.jpg"}});
    Host().Options().canUseICCProfiles = false;
    HostReport report = Run();
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_TRUE(report.documents[0].complete);
    EXPECT_FALSE(report.documents[0].hasProfile);
    EXPECT_EQ(report.suites.handlesCreated, report.suites.handlesDisposed + 1) << "only the globals block is kept";
}

}  // namespace
