// The documents the host ends up with after a whole import: pixels, depth and
// colour profile as the files hold them.
#include <gtest/gtest.h>

#include "selectors/ImportRunFixture.h"
#include "support/RealImages.h"
#include "support/TestImages.h"
#include "common/ProgramFolder.h"

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
    EXPECT_EQ(document.pixels.Bytes(), expected.bytes);
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
    EXPECT_EQ(document.pixels.Bytes(), DecodeForComparison(FIF_JPEG, source, JPEG_ACCURATE).bytes);
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

// Files the module cannot import as they are: the user is told (of the first
// of a run), the host gets no document for them, and the run goes on.
TEST_F(DocumentRunTest, FilesThatCannotBeImportedAreReportedAndSkipped)
{
    std::string sources = scratch.Inside("sources");
    SaveAndUnload(MakeGrey8(8, 8), FIF_JPEG, sources + "\\grey.jpg");
    SaveAndUnload(MakeFloatRgb(8, 8), FIF_TIFF, sources + "\\float.tif");
    SaveAndUnload(MakeRgb24(64, 64), FIF_JPEG, sources + "\\cut.jpg");
    TruncateFile(sources + "\\cut.jpg", 0.5);
    SaveAndUnload(MakeOpaqueRgba32(6, 4), FIF_TIFF, sources + "\\opaque.tif");
    Export({{sources + "\\cut.jpg", "a-cut.jpg"}, {sources + "\\float.tif", "b-float.tif"},
            {sources + "\\grey.jpg", "c-grey.jpg"}, {sources + "\\opaque.tif", "d-opaque.tif"}});
    HostReport report = Run();

    // Start moves past each refused file to the one that can be imported.
    ASSERT_EQ(CallTrace(report),
              (std::vector<std::string>{"prepare=0", "start=0", "continue=0", "finish=0", "finalize=0"}));
    EXPECT_EQ(MessageTexts(report),
              std::vector<std::string>{"An error occured while importing images.\n\nPlease contact Korvel."});
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_EQ(report.documents[0].filename, "d-opaque.tif");
    EXPECT_TRUE(report.documents[0].complete) << "an opaque RGBA file arrives in its own colours";
    EXPECT_EQ(report.documents[0].pixels.Bytes(), ExpectedRgb24(6, 4).bytes);

    // Each of the others, first in its own folder.
    struct Case {
        const char* file;
        const char* text;
    } cases[] = {
        {"float.tif", "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !"},
        {"grey.jpg", "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Export({{InFolder(sources, c.file), c.file}});
        HostReport refused = Run();
        EXPECT_EQ(CallTrace(refused), (std::vector<std::string>{"prepare=0", "start=-128", "finalize=0"}));
        EXPECT_EQ(MessageTexts(refused), std::vector<std::string>{c.text});
        EXPECT_EQ(refused.CompleteDocuments(), 0);
    }
}

// Variants of real images that the transfer tests' build made: an odd JPEG
// that loses no pixel, and a TIFF whose JPEG strip was cut short.
TEST_F(DocumentRunTest, OddFileArrivesWholeAndDamagedFileIsRefused)
{
    const std::string images = RealImagesFolder();
    for (const char* name : {"testorig.decoded.ppm", "jfif-2.01.jpg", "jpeg-strip-cut.tiff"})
        ASSERT_EQ(MissingRealImage(name), "");
    const HostImage expected = ReadPpm(images + "\\testorig.decoded.ppm");

    Export({{images + "\\jfif-2.01.jpg", "odd.jpg"}});
    HostReport odd = Run();
    ASSERT_EQ(odd.documents.size(), 1u);
    EXPECT_TRUE(odd.documents[0].complete);
    EXPECT_EQ(odd.documents[0].pixels.Bytes(), expected.bytes);
    EXPECT_TRUE(MessageTexts(odd).empty());

    Export({{images + "\\jpeg-strip-cut.tiff", "cut.tif"}});
    HostReport cut = Run();
    EXPECT_EQ(CallTrace(cut), (std::vector<std::string>{"prepare=0", "start=-128", "finalize=0"}));
    EXPECT_EQ(MessageTexts(cut),
              std::vector<std::string>{"An error occured while importing images.\n\nPlease contact Korvel."});
    EXPECT_EQ(cut.CompleteDocuments(), 0);
}

// Files of a few kilobytes that declare pictures too large for the decoder's
// 32-bit sizes; each crashed the host. Each is refused (or, for a huge
// thumbnail, imported without it) and the same host and module then import
// a sound file.
TEST_F(DocumentRunTest, LargePicturesAreRefusedAndTheHostGoesOn)
{
    const std::string images = RealImagesFolder();
    const std::string unsupported = "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !";
    const struct {
        const char* file;
        const char* message;  // null: the file's picture arrives
    } cases[] = {
        {"ycbcr-32769x32768.tiff", unsupported.c_str()},
        {"lab-32769x32768.tiff", unsupported.c_str()},
        // Thumbnails are not read: the sound first picture arrives.
        {"thumbnail-32769x32768.tiff", nullptr},
        {"resource-thumbnail-huge.tiff", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(MissingRealImage(c.file), "");
        Export({{images + "\\" + c.file, "large.tif"}});
        HostReport report = Run();
        if (c.message != nullptr) {
            EXPECT_EQ(CallTrace(report), (std::vector<std::string>{"prepare=0", "start=-128", "finalize=0"}));
            EXPECT_EQ(MessageTexts(report), std::vector<std::string>{c.message});
            EXPECT_EQ(report.CompleteDocuments(), 0);
        } else {
            EXPECT_TRUE(MessageTexts(report).empty());
            ASSERT_EQ(report.CompleteDocuments(), 1);
            EXPECT_EQ(report.documents[0].pixels.Bytes().size(), 8u * 8u * 3u);
        }
    }
    Export({Jpeg("after.jpg")});
    EXPECT_EQ(Run().CompleteDocuments(), 1);
}

TEST_F(DocumentRunTest, CancelAndHostErrorsDiscardTheDocumentAndGiveEveryBufferBack)
{
    std::string sources = scratch.Inside("sources");
    SaveAndUnload(MakeRgb24(5, 3), FIF_TIFF, sources + "\\three-rows.tif");
    Export({{sources + "\\three-rows.tif", "a.tif"}});

    Host().Options().abortAtPoll = 2;
    Host().Options().bufferSpace = 5 * 3 + 300 * 15;  // one-row strips
    HostReport cancelled = Run();
    EXPECT_EQ(CallTrace(cancelled), (std::vector<std::string>{"prepare=0", "start=0", "continue=-128", "finish=0",
                                                               "finalize=0"}));
    ASSERT_EQ(cancelled.documents.size(), 1u);
    EXPECT_FALSE(cancelled.documents[0].complete);
    EXPECT_EQ(cancelled.documents[0].strips.size(), 1u) << "the strip before the cancel was sent";
    EXPECT_EQ(cancelled.suites.buffersAllocated, cancelled.suites.buffersFreed);

    Host().Options().abortAtPoll = 0;
    Host().Options().advanceStateErrorAtStrip = 1;
    HostReport refused = Run();
    EXPECT_EQ(CallTrace(refused), (std::vector<std::string>{"prepare=0", "start=0", "continue=-36", "finish=0",
                                                             "finalize=0"}));
    EXPECT_EQ(refused.CompleteDocuments(), 0);
    EXPECT_EQ(refused.suites.buffersAllocated, refused.suites.buffersFreed);
}

}  // namespace
