// Start as the host sees it: the document it is told about, the profile it
// is given, and the boxes the user sees when a file cannot be imported.
#include <gtest/gtest.h>

#include <cstring>

#include "selectors/ModuleState.h"
#include "common/TempFolder.h"
#include "support/AllocationFailure.h"
#include "support/TestImages.h"
#include "support/TransferHost.h"
#include "common/WideText.h"

namespace {

// 32 bits a pixel marked CMYK, with a CMYK profile, as printers' files are.
FIBITMAP* MakeCmyk32(int width, int height)
{
    FIBITMAP* bitmap = MakeOpaqueRgba32(width, height);
    std::vector<uint8_t> cmyk = MakeProfileBytes(3000, "CMYK");
    FreeImage_CreateICCProfile(bitmap, cmyk.data(), long(cmyk.size()));
    FreeImage_GetICCProfile(bitmap)->flags |= FIICC_COLOR_IS_CMYK;
    return bitmap;
}

class StartTest : public ::testing::Test {
protected:
    // Writes the bitmap as name into the folder and makes it current.
    void Place(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& name, int flags = 0)
    {
        ASSERT_TRUE(host.PlaceCurrentFile(bitmap, format, folder, name, flags)) << name;
    }

    // Start failed as the user and the host must see it: one box with the
    // message, -128, no record field written and no bitmap held.
    void ExpectRefused(int message)
    {
        const std::vector<char> before = host.RecordBytes();
        int16_t result = 0;
        {
            DialogWatcher boxes;
            result = host.Start();
            ASSERT_FALSE(ModuleMessageText(message).empty());
            EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(message)});
            ASSERT_EQ(boxes.Windows().size(), 1u);
            EXPECT_EQ(boxes.Windows()[0].caption, "Ombrix");
        }
        EXPECT_EQ(result, -128);
        EXPECT_EQ(host.RecordBytes(), before) << "no record field is written";
        EXPECT_EQ(CurrentBitmap, nullptr);
        EXPECT_EQ(host.Handles().created, 0);
    }

    TempFolder folder{"ombrix-transfer"};
    TransferHost host;
};

TEST_F(StartTest, JpegIsDescribedAsAnEightBitRgbDocumentAtSeventyTwoPerInch)
{
    Place(MakeRgb24(40, 30), FIF_JPEG, "IMG_0001.jpg", JPEG_QUALITYSUPERB);
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), 0);
    EXPECT_TRUE(boxes.Windows().empty());
    const AcquireRecord* r = host.Record();
    EXPECT_EQ(r->filename[0], 12);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r->filename + 1), 12), "IMG_0001.jpg");
    EXPECT_EQ(r->imageSize.v, 30);
    EXPECT_EQ(r->imageSize.h, 40);
    EXPECT_EQ(r->imageMode, 3);
    EXPECT_EQ(r->depth, 8);
    EXPECT_EQ(r->planes, 3);
    EXPECT_EQ(r->imageHRes, 0x00480000);
    EXPECT_EQ(r->imageVRes, 0x00480000);
    EXPECT_EQ(r->data, nullptr);
    EXPECT_NE(CurrentBitmap, nullptr);
    EXPECT_EQ(std::wstring(CurrentImagePath), L"\\\\?\\" + Utf8ToWide(folder.Inside("IMG_0001.jpg")));
}

TEST_F(StartTest, FortyEightBitTiffIsASixteenBitDocument)
{
    Place(MakeRgb48(9, 5), FIF_TIFF, "deep.tif");
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->depth, 16);
    EXPECT_EQ(host.Record()->imageMode, 3);
    EXPECT_EQ(host.Record()->planes, 3);
    EXPECT_EQ(host.Record()->imageSize.v, 5);
    EXPECT_EQ(host.Record()->imageSize.h, 9);
}

TEST_F(StartTest, OpaqueRgbaTiffIsAnEightBitRgbDocument)
{
    Place(MakeOpaqueRgba32(6, 4), FIF_TIFF, "opaque.tiff");
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->depth, 8);
}

// Files that decode, but not into anything the host can take as it is.
TEST_F(StartTest, ImagesTheHostCannotTakeAsTheyAreAreRefusedAsUnsupported)
{
    struct Case {
        const char* name;
        FREE_IMAGE_FORMAT format;
        FIBITMAP* (*make)();
    };
    const Case cases[] = {
        {"grey.jpg", FIF_JPEG, [] { return MakeGrey8(16, 16); }},
        {"float.tif", FIF_TIFF, [] { return MakeFloatRgb(8, 8); }},
        {"clear.tif", FIF_TIFF,
         [] {
             FIBITMAP* bitmap = MakeOpaqueRgba32(6, 4);
             FreeImage_GetScanLine(bitmap, 2)[4 * 3 + FI_RGBA_ALPHA] = 10;  // one pixel not opaque
             return bitmap;
         }},
        // CMYK: the decoder would make RGB of it without the file's colour
        // management, and keep its CMYK profile.
        {"press.jpg", FIF_JPEG, [] { return MakeCmyk32(20, 10); }},
        {"press.tif", FIF_TIFF, [] { return MakeCmyk32(20, 10); }},
        {"wide.tif", FIF_TIFF, [] { return MakeRgb24(32768, 1); }},
        {"tall.tif", FIF_TIFF, [] { return MakeRgb24(1, 32768); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Place(c.make(), c.format, c.name);
        ExpectRefused(4);
    }
}

TEST_F(StartTest, ImageOfTheLargestHostSizeIsDescribed)
{
    Place(MakeRgb24(32767, 1), FIF_TIFF, "widest.tif");
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->imageSize.h, 32767);
}

TEST_F(StartTest, TruncatedJpegIsAnImportError)
{
    Place(MakeRgb24(64, 64), FIF_JPEG, "cut.jpg");
    TruncateFile(folder.Inside("cut.jpg"), 0.5);
    ExpectRefused(3);
}

TEST_F(StartTest, TruncatedTiffIsAnImportErrorNotAPartlyFilledPicture)
{
    Place(MakeRgb24(64, 64), FIF_TIFF, "cut.tif");
    TruncateFile(folder.Inside("cut.tif"), 0.5);
    ExpectRefused(3);
}

TEST_F(StartTest, TiffMissingItsLastRowsIsAnImportErrorNotAPartlyFilledPicture)
{
    WriteRowStripTiff(folder.Inside("rows.tif"), 30, 20);
    host.SetCurrentFile(folder.Path(), "rows.tif");
    EXPECT_EQ(host.Start(), 0) << "the whole file is imported";
    ReleaseCurrentBitmap();
    TruncateFile(folder.Inside("rows.tif"), 0.7);
    ExpectRefused(3);
}

// The decoder once kept a file's comment and metadata in containers that
// allocate while the file loads, and threw when a host's memory ran short.
// It reads the picture and its profile only: such a file loads with every
// throwing allocation armed to fail.
TEST_F(StartTest, MetadataOfTheFileTakesNoAllocationThatCanFail)
{
    FIBITMAP* bitmap = MakeRgb24(24, 16);
    FITAG* tag = FreeImage_CreateTag();
    const char comment[] = "exported";
    FreeImage_SetTagKey(tag, "Comment");
    FreeImage_SetTagType(tag, FIDT_ASCII);
    FreeImage_SetTagCount(tag, sizeof comment);
    FreeImage_SetTagLength(tag, sizeof comment);
    FreeImage_SetTagValue(tag, comment);
    FreeImage_SetMetadata(FIMD_COMMENTS, bitmap, "Comment", tag);
    FreeImage_DeleteTag(tag);
    Place(bitmap, FIF_JPEG, "noted.jpg");

    DialogWatcher boxes;
    FailAllocation(1);
    const int16_t loaded = host.Start();
    EXPECT_EQ(AllocationsSinceArmed(), 0u);
    EXPECT_EQ(loaded, 0);
    EXPECT_TRUE(boxes.Windows().empty());
}

TEST_F(StartTest, FileThatIsNoJpegIsAnImportError)
{
    Place(MakeRgb24(8, 8), FIF_TIFF, "fake.jpg");
    ExpectRefused(3);
}

TEST_F(StartTest, EntryOfNoImageClassIsAnImportErrorWithoutALoad)
{
    host.SetCurrentFile(folder.Path(), "..");
    ExpectRefused(3);
    EXPECT_EQ(CurrentImagePath[0], L'\0') << "a name leading out of the folder is never opened";
}

// Every name Windows allows, at every length: the file is opened by its own
// name, and the host is shown the name in the ANSI code page.
TEST_F(StartTest, PictureOfAnyNameOrLengthIsImportedAndNamedForTheHost)
{
    // Folder and name past the classic 259 characters.
    const std::string deep = folder.MakeFolder(std::string(200, 'f')) + "\\" + std::string(60, 'g');
    folder.MakeFolder(deep.substr(folder.Path().size() + 1));
    struct Case {
        std::string folder;
        std::string name;
        std::string shown;  // in code page 1252: best fit, or "?"
    } cases[] = {
        {folder.Path(), "\xe5\x86\x99\xe7\x9c\x9f.jpg", "??.jpg"},
        {folder.Path(), "\xc5\x81\xc3\xb3\x64\xc5\xba.jpg", "L\xf3" "dz.jpg"},
        {folder.Path(), "\xf0\x9f\x93\xb7 rose.tif", "?? rose.tif"},
        {folder.Path(), "..\xef\xbc\xbc" "a.jpg", "..\\a.jpg"},
        {deep, std::string(36, 'n') + ".jpg", std::string(36, 'n') + ".jpg"},
    };
    ASSERT_EQ(GetACP(), 1252u) << "the names shown are those of code page 1252";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FREE_IMAGE_FORMAT format = c.name.back() == 'f' ? FIF_TIFF : FIF_JPEG;
        ASSERT_TRUE(SaveAndUnload(MakeRgb24(8, 6), format, c.folder + "\\" + c.name));
        host.SetCurrentFile(c.folder, c.name);
        EXPECT_EQ(host.Start(), 0);
        const AcquireRecord* r = host.Record();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(r->filename + 1), r->filename[0]), c.shown);
        EXPECT_EQ(r->imageSize.h, 8);
        ReleaseCurrentBitmap();
    }
}

TEST_F(StartTest, UnusableBufferSuiteWarnsAndChangesNothing)
{
    Place(MakeRgb24(8, 8), FIF_JPEG, "a.jpg");
    host.Buffers().procs.bufferProcsVersion = 1;
    FIBITMAP* held = MakeRgb24(2, 2);
    CurrentBitmap = held;
    const std::vector<char> before = host.RecordBytes();
    DialogWatcher boxes;
    EXPECT_EQ(host.Start(), -128);
    ASSERT_EQ(boxes.Windows().size(), 1u);
    EXPECT_NE(boxes.Windows()[0].MessageText().find(" 2.5 "), std::string::npos) << "the host-version warning";
    EXPECT_EQ(host.RecordBytes(), before);
    EXPECT_EQ(CurrentBitmap, held) << "the bitmap is left for the cycle's Finish";
}

class StartProfileTest : public StartTest {
protected:
    void PlaceWithProfile(FREE_IMAGE_FORMAT format, const std::string& name)
    {
        FIBITMAP* bitmap = MakeRgb24(20, 10);
        FreeImage_CreateICCProfile(bitmap, const_cast<uint8_t*>(profile.data()), long(profile.size()));
        Place(bitmap, format, name);
    }

    const std::vector<uint8_t> profile = MakeProfileBytes(3000);
    const Handle hostsOwn = reinterpret_cast<Handle>(0x4321);
};

TEST_F(StartProfileTest, JpegProfileReachesTheHostByteForByte)
{
    PlaceWithProfile(FIF_JPEG, "profiled.jpg");
    EXPECT_EQ(host.Start(), 0);
    const AcquireRecord* r = host.Record();
    ASSERT_NE(r->iCCprofileData, nullptr);
    EXPECT_EQ(r->iCCprofileSize, 3000);
    EXPECT_EQ(host.Handles().created, 1);
    EXPECT_EQ(host.Handles().lockCount[r->iCCprofileData], 0) << "the handle is handed over unlocked";
    EXPECT_EQ(std::vector<uint8_t>(*r->iCCprofileData, *r->iCCprofileData + 3000), profile);
}

TEST_F(StartProfileTest, TiffProfileReachesTheHostByteForByte)
{
    PlaceWithProfile(FIF_TIFF, "profiled.tif");
    EXPECT_EQ(host.Start(), 0);
    const AcquireRecord* r = host.Record();
    ASSERT_NE(r->iCCprofileData, nullptr);
    ASSERT_EQ(r->iCCprofileSize, 3000);
    EXPECT_EQ(std::vector<uint8_t>(*r->iCCprofileData, *r->iCCprofileData + 3000), profile);
}

// A host that takes no profile, and a file without one: the host's own
// profile fields stay as they were and no handle is made.
TEST_F(StartProfileTest, NoProfilePassedLeavesTheHostsFieldsAlone)
{
    for (bool hostTakesProfiles : {false, true}) {
        SCOPED_TRACE(hostTakesProfiles ? "image without a profile" : "host that takes none");
        if (hostTakesProfiles)
            Place(MakeRgb24(8, 8), FIF_JPEG, "plain.jpg");
        else
            PlaceWithProfile(FIF_JPEG, "profiled.jpg");
        host.Record()->canUseICCProfiles = hostTakesProfiles;
        host.Record()->iCCprofileData = hostsOwn;
        host.Record()->iCCprofileSize = 77;
        EXPECT_EQ(host.Start(), 0);
        EXPECT_EQ(host.Record()->iCCprofileData, hostsOwn);
        EXPECT_EQ(host.Record()->iCCprofileSize, 77);
        EXPECT_EQ(host.Handles().created, 0);
    }
}

TEST_F(StartProfileTest, HostThatCannotMakeTheHandleGetsTheDocumentWithoutProfile)
{
    PlaceWithProfile(FIF_JPEG, "profiled.jpg");
    host.Handles().failNew = true;
    host.Record()->iCCprofileData = hostsOwn;
    host.Record()->iCCprofileSize = 77;
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->iCCprofileData, hostsOwn);
    EXPECT_EQ(host.Record()->iCCprofileSize, 77);
    EXPECT_EQ(host.Record()->imageSize.h, 20);
}

TEST_F(StartProfileTest, HandleThatCannotBeLockedIsGivenBack)
{
    PlaceWithProfile(FIF_JPEG, "profiled.jpg");
    host.Handles().failLock = true;
    EXPECT_EQ(host.Start(), 0);
    EXPECT_EQ(host.Record()->iCCprofileData, nullptr);
    EXPECT_EQ(host.Handles().LiveHandles(), 0);
}

// A profile starts with a 128-byte header: fewer bytes are no profile, even
// when their first four give their own size. The document comes without it.
TEST_F(StartProfileTest, ProfileShorterThanItsHeaderIsNotPassed)
{
    for (size_t size : {4u, 19u, 20u, 127u, 128u}) {
        SCOPED_TRACE(size);
        FIBITMAP* bitmap = MakeRgb24(20, 10);
        std::vector<uint8_t> bytes = MakeProfileBytes(size);
        FreeImage_CreateICCProfile(bitmap, bytes.data(), long(bytes.size()));
        Place(bitmap, FIF_TIFF, "short-profile.tif");
        host.Record()->iCCprofileData = hostsOwn;
        host.Record()->iCCprofileSize = 77;
        ASSERT_EQ(host.Start(), 0);
        const AcquireRecord* r = host.Record();
        if (size < 128) {
            EXPECT_EQ(r->iCCprofileData, hostsOwn);
            EXPECT_EQ(r->iCCprofileSize, 77);
        } else {
            ASSERT_NE(r->iCCprofileData, hostsOwn);
            ASSERT_EQ(r->iCCprofileSize, 128);
            EXPECT_EQ(std::vector<uint8_t>(*r->iCCprofileData, *r->iCCprofileData + 128), bytes);
        }
    }
}

TEST_F(StartProfileTest, RefusedImageGivesNoProfile)
{
    FIBITMAP* bitmap = MakeGrey8(20, 10);
    FreeImage_CreateICCProfile(bitmap, const_cast<uint8_t*>(profile.data()), long(profile.size()));
    Place(bitmap, FIF_TIFF, "grey.tif");
    ExpectRefused(4);
}

}  // namespace
