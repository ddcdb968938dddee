// Every name Windows allows, through the reference host: pictures, DNG files
// and export folders named in any script or past the classic path limit
// arrive under their real names, and nothing outside the export folder is
// ever opened, handed off or deleted. Names are UTF-8 here; the shown
// document names are those of code page 1252, the tests' Windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "common/TempFolder.h"
#include "selectors/ImportRunFixture.h"
#include "support/FileContents.h"
#include "support/TestImages.h"
#include "common/WideText.h"

namespace {

// UTF-8 spellings of the names the tests use.
const std::string Photo = "\xe5\x86\x99\xe7\x9c\x9f";        // 写真
const std::string Lodz = "\xc5\x81\xc3\xb3\x64\xc5\xba";     // Łódź, best fit "Lódz"
const std::string LodzBestFit = "L\xc3\xb3" "dz";            // Lódz
const std::string Camera = "\xf0\x9f\x93\xb7";               // 📷, a surrogate pair
const std::string FullwidthSolidus = "\xef\xbc\xbc";         // ＼, best fit "\"

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

// The shown name of each complete document, sorted, in UTF-8.
std::vector<std::string> ShownNames(const HostReport& report)
{
    std::vector<std::string> names;
    for (const std::string& name : Filenames(report))
        names.push_back(WideToUtf8(AnsiToWide(name)));
    return Sorted(names);
}

class AnyNameTest : public ImportRunTest {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "the tests' Windows is a Western one"; }

    // The next load's first import: its cleanup takes the folders recorded.
    void RunNextLoad()
    {
        UnloadModule();
        Export({});
        Run();
    }
};

// Pictures and DNG files named in CJK, Polish and emoji, and with a
// fullwidth solidus that the code page would turn into a real one (".." and
// a sibling folder), in an export folder named outside the code page.
TEST_F(AnyNameTest, EveryPictureAndDngArrivesUnderItsRealNameAndOnlyItsFolderGoes)
{
    exports = scratch.MakeFolder("exports " + Photo + " " + Lodz + " " + Camera);
    scenario.outputParent = exports;
    // What "..\victim\..." would reach: the user's own files beside the export.
    const std::string victim = scratch.MakeFolder("exports " + Photo + " " + Lodz + " " + Camera + "\\victim");
    const std::string keep = InFolder(victim, "keep.jpg");
    ASSERT_TRUE(SaveAndUnload(MakeRgb24(5, 5), FIF_JPEG, keep));
    const std::string raw = scratch.MakeFile(victim.substr(scratch.Path().size() + 1) + "\\raw.dng", "mine");

    const std::string sneaky = ".." + FullwidthSolidus + "victim" + FullwidthSolidus;
    Export({Jpeg(Photo + ".jpg"), Jpeg(Lodz + ".jpg"), Tiff(Camera + " rose.tif"), Jpeg(sneaky + "keep.jpg"),
            Dng(Photo + ".dng"), Dng(Camera + ".dng"), Dng(Lodz + ".dng"), Dng(sneaky + "raw.dng")});
    HostReport report = Run();

    EXPECT_TRUE(MessageTexts(report).empty());
    EXPECT_EQ(ShownNames(report), Sorted({"??.jpg", LodzBestFit + ".jpg", "?? rose.tif", "..\\victim\\keep.jpg"}));
    const HostImage jpeg = DecodeForComparison(FIF_JPEG, Jpeg("").source, JPEG_ACCURATE);
    for (const DocumentRecord& document : report.documents) {
        SCOPED_TRACE(document.filename);
        EXPECT_EQ(document.pixels.Bytes(), document.depth == 16 ? ExpectedRgb48(12, 8).bytes : jpeg.bytes)
            << "the export's picture, not the victim's";
    }
    const std::string folder = ExportFolder();
    EXPECT_EQ(HandedPaths(HandOffs(1)), PathsIn(folder, {Photo + ".dng", Camera + ".dng", Lodz + ".dng",
                                                         sneaky + "raw.dng"}));
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{folder});

    RunNextLoad();
    EXPECT_FALSE(PathExists(folder)) << "removed whole";
    EXPECT_TRUE(PathExists(keep));
    EXPECT_EQ(ReadFileBytes(raw), "mine");
}

// An export folder whose best-fit spelling is another folder of the user's:
// only the export folder is read, handed off and later removed.
TEST_F(AnyNameTest, TheBestFitTwinOfTheExportFolderIsNeverTouched)
{
    const std::string twin = scratch.MakeFolder("twin");
    const std::string user = scratch.MakeFolder("twin\\" + LodzBestFit);
    const std::string userPicture = InFolder(user, "mine.jpg");
    ASSERT_TRUE(SaveAndUnload(MakeRgb24(5, 5), FIF_JPEG, userPicture));
    scratch.MakeFile("twin\\" + LodzBestFit + "\\mine.dng", "mine");
    const std::string exported = scratch.MakeFolder("twin\\" + Lodz);
    ASSERT_TRUE(SaveAndUnload(MakeRgb24(12, 8), FIF_JPEG, InFolder(exported, "a.jpg")));
    scratch.MakeFile("twin\\" + Lodz + "\\b.dng", "raw");
    ExportNothingButWrite(OutputValue::Given, exported);

    HostReport report = Run();
    ASSERT_EQ(report.documents.size(), 1u);
    EXPECT_EQ(report.documents[0].pixels.Bytes(),
              DecodeForComparison(FIF_JPEG, InFolder(exported, "a.jpg"), JPEG_ACCURATE).bytes);
    EXPECT_EQ(HandedPaths(HandOffs(1)), PathsIn(exported, {"b.dng"}));
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{exported});

    RunNextLoad();
    EXPECT_FALSE(PathExists(exported));
    EXPECT_TRUE(PathExists(userPicture));
    EXPECT_TRUE(PathExists(InFolder(user, "mine.dng")));
}

// Folder and names past 260 characters: Windows opens them, and so does the
// module.
TEST_F(AnyNameTest, PathsPastTheClassicLimitArriveAndTheirFolderGoes)
{
    exports = scratch.MakeFolder(std::string(120, 'e')) + "\\" + std::string(100, 'f');
    scratch.MakeFolder(exports.substr(scratch.Path().size() + 1));
    scenario.outputParent = exports;
    const std::string name = std::string(60, 'n');
    Export({Jpeg(name + ".jpg"), Dng(name + ".dng")});
    HostReport report = Run();

    EXPECT_TRUE(MessageTexts(report).empty());
    EXPECT_EQ(ShownNames(report), std::vector<std::string>{name + ".jpg"});
    const std::string folder = ExportFolder();
    ASSERT_GT(InFolder(folder, name + ".jpg").size(), 300u);
    EXPECT_EQ(HandedPaths(HandOffs(1)), PathsIn(folder, {name + ".dng"}));

    RunNextLoad();
    EXPECT_FALSE(PathExists(folder));
}

// The converter installed under a folder outside the code page is started.
TEST_F(AnyNameTest, ConverterInstalledUnderAnyFolderIsStarted)
{
    const std::string folder = scratch.MakeFolder("Ombrix " + Photo + " " + Lodz + " " + Camera);
    const std::string program = InFolder(folder, "ombrix-converter.exe");
    ASSERT_TRUE(CopyFileW(Utf8ToWide(BesideProgram("ombrix-converter.exe")).c_str(), Utf8ToWide(program).c_str(), FALSE));
    RegisterConverter(program);
    Export({Jpeg("a.jpg"), Dng("c.dng")});
    HostReport report = Run();

    EXPECT_TRUE(MessageTexts(report).empty());
    EXPECT_EQ(ShownNames(report), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(HandedPaths(HandOffs(1)), PathsIn(ExportFolder(), {"c.dng"}));
}

// Run from a copy of this program in a folder outside the code page (the
// host installed there): the hand-off starts that very program.
TEST_F(AnyNameTest, HostInstalledUnderAnyFolderIsStartedForTheHandOff)
{
    if (EnvironmentVariable(BuildFolderVariable).empty())
        GTEST_SKIP() << "runs from a copy of this program in a folder named outside the code page";
    Export({Jpeg("a.jpg"), Dng(Photo + ".dng")});
    HostReport report = Run();

    EXPECT_TRUE(MessageTexts(report).empty());
    const std::vector<HandOffRecord> handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({InFolder(ExportFolder(), Photo + ".dng")}));
}

}  // namespace
