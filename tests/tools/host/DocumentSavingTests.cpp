// Documents the host keeps are saved as TIFF of their own depth, with the
// module's profile, and as an 8-bit PNG preview.
#include <gtest/gtest.h>

#include <windows.h>

#include <FreeImage.h>

#include "TestModuleRun.h"
#include "host/DocumentSaver.h"
#include "support/TempFolder.h"
#include "testmodule/TestPattern.h"

namespace {

class LoadedBitmap {
public:
    LoadedBitmap(FREE_IMAGE_FORMAT format, const std::string& path) : bitmap(FreeImage_Load(format, path.c_str(), 0))
    {
    }
    ~LoadedBitmap()
    {
        if (bitmap != nullptr)
            FreeImage_Unload(bitmap);
    }
    FIBITMAP* bitmap;
};

class DocumentSaving : public ::testing::Test {
protected:
    HostReport Import(const std::string& config)
    {
        HostOptions options;
        options.outputFolder = folder.Path();
        return ImportWithTestModule(config, options);
    }
    TempFolder folder;
};

TEST_F(DocumentSaving, SixteenBitDocumentBecomesAnRgb16TiffWithItsProfile)
{
    HostReport report = Import("width=5;height=4;depth=16;profileBytes=64");
    ASSERT_EQ(report.documents.size(), 1u);
    const DocumentRecord& document = report.documents[0];
    EXPECT_EQ(document.tiffPath, folder.Inside("01-image-1.tif"));
    EXPECT_EQ(document.pngPath, folder.Inside("01-image-1.png"));

    LoadedBitmap tiff(FIF_TIFF, document.tiffPath);
    ASSERT_NE(tiff.bitmap, nullptr);
    EXPECT_EQ(FreeImage_GetImageType(tiff.bitmap), FIT_RGB16);
    EXPECT_EQ(FreeImage_GetWidth(tiff.bitmap), 5u);
    EXPECT_EQ(FreeImage_GetHeight(tiff.bitmap), 4u);
    // Row 0 of the document is FreeImage's last scan line.
    auto* top = reinterpret_cast<const uint16_t*>(FreeImage_GetScanLine(tiff.bitmap, 3));
    EXPECT_EQ(top[3 * 2 + 1], TestSample(0, 2, 0, 1, 16));
    auto* bottom = reinterpret_cast<const uint16_t*>(FreeImage_GetScanLine(tiff.bitmap, 0));
    EXPECT_EQ(bottom[3 * 4 + 2], TestSample(0, 4, 3, 2, 16));

    FIICCPROFILE* profile = FreeImage_GetICCProfile(tiff.bitmap);
    ASSERT_NE(profile->data, nullptr);
    ASSERT_EQ(profile->size, 64u);
    EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(profile->data), static_cast<uint8_t*>(profile->data) + 64),
              document.profile);
    EXPECT_EQ(FreeImage_GetDotsPerMeterX(tiff.bitmap), 2835u) << "72 pixels per inch";
}

TEST_F(DocumentSaving, PreviewIsEightBitWithTheHighBytes)
{
    HostReport report = Import("width=3;height=2;depth=16");
    LoadedBitmap png(FIF_PNG, report.documents.at(0).pngPath);
    ASSERT_NE(png.bitmap, nullptr);
    EXPECT_EQ(FreeImage_GetImageType(png.bitmap), FIT_BITMAP);
    EXPECT_EQ(FreeImage_GetBPP(png.bitmap), 24u);
    const BYTE* top = FreeImage_GetScanLine(png.bitmap, 1);
    EXPECT_EQ(top[3 * 2 + FI_RGBA_RED], TestSample(0, 2, 0, 0, 16) >> 8);
    EXPECT_EQ(top[3 * 2 + FI_RGBA_BLUE], TestSample(0, 2, 0, 2, 16) >> 8);
}

TEST_F(DocumentSaving, EightBitDocumentBecomesA24BitTiff)
{
    HostReport report = Import("images=2;width=6;height=3;depth=8");
    ASSERT_EQ(report.documents.size(), 2u);
    EXPECT_EQ(report.documents[1].tiffPath, folder.Inside("02-image-2.tif"));
    LoadedBitmap tiff(FIF_TIFF, report.documents[1].tiffPath);
    ASSERT_NE(tiff.bitmap, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(tiff.bitmap), 24u);
    const BYTE* middle = FreeImage_GetScanLine(tiff.bitmap, 1);
    EXPECT_EQ(middle[3 * 5 + FI_RGBA_GREEN], TestSample(1, 5, 1, 1, 8));
    EXPECT_EQ(FreeImage_GetICCProfile(tiff.bitmap)->data, nullptr) << "no profile was handed over";
}

TEST_F(DocumentSaving, DiscardedDocumentsAreNotSaved)
{
    HostReport report = Import("height=4;continueFailAt=1");
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_TRUE(report.documents[0].tiffPath.empty());
    EXPECT_FALSE(PathExists(folder.Inside("01-image-1.tif")));
}

TEST_F(DocumentSaving, PixelsCanBeDroppedAfterSaving)
{
    HostOptions options;
    options.outputFolder = folder.Path();
    options.keepPixels = false;
    HostReport report = ImportWithTestModule("width=4;height=4", options);
    const DocumentRecord& document = report.documents.at(0);
    EXPECT_TRUE(document.pixels.empty());
    EXPECT_TRUE(document.complete);
    EXPECT_FALSE(document.checksum.empty());
    EXPECT_TRUE(PathExists(document.tiffPath));
}

TEST(DocumentStemTest, NamesLoseTheirExtensionAndForbiddenCharacters)
{
    EXPECT_EQ(DocumentStem("IMG_0001.jpg"), "IMG_0001");
    EXPECT_EQ(DocumentStem("a:b/c?.tif"), "a_b_c_");
    EXPECT_EQ(DocumentStem(".tif"), ".tif") << "a leading dot is no extension";
    EXPECT_EQ(DocumentStem(""), "document");
}

}  // namespace
