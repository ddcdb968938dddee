// Started with "-embedding", the stand-in exports the scenario's images into
// a fresh folder, writes it into "Plugin Output Folder" and exits; the
// scenario's switches make it misbehave.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "support/ChildProcess.h"
#include "common/ProgramFolder.h"
#include "common/WideFiles.h"
#include "common/WideText.h"
#include "converter/ConverterScenario.h"
#include "converter/StandInRegistry.h"
#include "support/FileContents.h"
#include "support/RegistryTestKeys.h"
#include "common/TempFolder.h"

namespace {

constexpr const char* StandIn = "ombrix-converter.exe";

class Embedding : public ::testing::Test {
protected:
    void SetUp() override
    {
        sources.MakeFile("a.jpg", "jpeg bytes");
        sources.MakeFile("b.tif", "tiff bytes");
        sources.MakeFile("c.dng", "dng bytes");
        scenario.outputParent = parent.Path();
        scenario.recordFile = sources.Inside("record.json");
        RemoveOutputFolderValue();
    }
    void TearDown() override { RemoveOutputFolderValue(); }

    std::map<std::string, std::string> ScenarioEnvironment()
    {
        return {{ScenarioFileVariable, sources.MakeFile("scenario.json", ScenarioToJson(scenario))}};
    }
    long Run() { return RunChild(StandIn, "-embedding", ScenarioEnvironment()); }

    nlohmann::json Record() { return nlohmann::json::parse(ReadFileBytes(scenario.recordFile)); }

    std::string OutputValue()
    {
        std::string value;
        EXPECT_TRUE(ReadOutputFolderValue(&value)) << "\"Plugin Output Folder\" is missing";
        return value;
    }

    TempFolder sources;
    TempFolder parent;
    ConverterScenario scenario;
};

TEST_F(Embedding, ExportsCopiesIntoAFreshFolderAndWritesItsPath)
{
    scenario.files = {{sources.Inside("a.jpg"), "a.jpg"}, {sources.Inside("b.tif"), "renamed.tif"}};
    ASSERT_EQ(Run(), 0);
    std::string folder = OutputValue();
    EXPECT_EQ(folder.rfind(parent.Path() + "\\", 0), 0u) << folder;
    EXPECT_EQ(ReadFileBytes(folder + "\\a.jpg"), "jpeg bytes");
    EXPECT_EQ(ReadFileBytes(folder + "\\renamed.tif"), "tiff bytes");
    EXPECT_TRUE(PathExists(sources.Inside("a.jpg"))) << "copied, not moved";
    EXPECT_EQ(Record().at("exportFolder"), folder);
}

TEST_F(Embedding, EachRunMakesANewFolder)
{
    ASSERT_EQ(Run(), 0);
    std::string first = OutputValue();
    ASSERT_EQ(Run(), 0);
    EXPECT_NE(OutputValue(), first);
    EXPECT_TRUE(PathExists(first));
}

TEST_F(Embedding, FolderIsMadeUnderTheTemporaryFolderByDefault)
{
    scenario.outputParent.clear();
    ASSERT_EQ(Run(), 0);
    std::string folder = OutputValue();
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(folder.rfind(temp, 0), 0u) << folder << " is not under " << temp;
    RemoveTree(folder);
}

TEST_F(Embedding, SubfoldersHiddenAndReadOnlyEntries)
{
    ExportEntry nested{sources.Inside("a.jpg"), "sub\\deep.jpg"};
    ExportEntry folderLikeImage{"", "dir.jpg", true};
    ExportEntry hidden{sources.Inside("b.tif"), "hidden.tif", false, true, false};
    ExportEntry readOnly{sources.Inside("c.dng"), "locked.dng", false, false, true};
    scenario.files = {nested, folderLikeImage, hidden, readOnly};
    ASSERT_EQ(Run(), 0);
    std::string folder = OutputValue();
    EXPECT_EQ(ReadFileBytes(folder + "\\sub\\deep.jpg"), "jpeg bytes");
    EXPECT_TRUE(GetFileAttributesA((folder + "\\dir.jpg").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(GetFileAttributesA((folder + "\\hidden.tif").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    DWORD locked = GetFileAttributesA((folder + "\\locked.dng").c_str());
    EXPECT_TRUE(locked & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(locked & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(Embedding, WritingNothingLeavesTheValueAsTheModuleSetIt)
{
    ASSERT_EQ(WriteOutputFolderValue(""), ERROR_SUCCESS);
    scenario.value = OutputValue::Nothing;
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(OutputValue(), "");
    EXPECT_NE(Record().at("exportFolder"), "") << "the export itself still happens";
}

TEST_F(Embedding, EmptyAndGivenValuesAreWrittenAsTheyAre)
{
    ASSERT_EQ(WriteOutputFolderValue("previous"), ERROR_SUCCESS);
    scenario.value = OutputValue::Empty;
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(OutputValue(), "");

    scenario.value = OutputValue::Given;
    scenario.givenValue = "C:\\Does\\Not\\Exist\\";
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(OutputValue(), "C:\\Does\\Not\\Exist\\");
}

TEST_F(Embedding, ExitCodeIsTheScenarios)
{
    scenario.exitCode = 7;
    EXPECT_EQ(Run(), 7);
    EXPECT_NE(OutputValue(), "") << "the value is written all the same";
}

TEST_F(Embedding, RecordHoldsTheCommandLineTheProgramPathAndItsPointerSize)
{
    ASSERT_EQ(Run(), 0);
    nlohmann::json record = Record();
    EXPECT_EQ(record.at("phase"), "done");
    EXPECT_EQ(record.at("commandLine"), "ombrix-converter.exe -embedding");
    EXPECT_EQ(record.at("modulePath"), BesideProgram("ombrix-converter.exe"));
    EXPECT_EQ(record.at("pointerBits"), 8 * sizeof(void*)) << "built for the tests' own architecture";
    EXPECT_EQ(record.at("problem"), "");
}

TEST_F(Embedding, KeepsRunningUntilTheAwaitedFileAppears)
{
    std::string go = sources.Inside("go");
    scenario.waitForFile = go;
    ASSERT_EQ(WriteOutputFolderValue(""), ERROR_SUCCESS);
    ChildProcess process(StandIn, "-embedding", ScenarioEnvironment());
    ASSERT_TRUE(process.Started());
    for (int i = 0; i < 600 && !PathExists(scenario.recordFile); ++i)
        Sleep(50);
    ASSERT_EQ(Record().at("phase"), "running");
    EXPECT_TRUE(process.Running());
    EXPECT_EQ(OutputValue(), "") << "nothing written before the file appears";

    sources.MakeFile("go", "");
    EXPECT_EQ(process.Wait(), 0);
    EXPECT_NE(OutputValue(), "");
}

TEST_F(Embedding, SingleVariablesWinOverTheScenarioFile)
{
    scenario.exitCode = 5;
    std::map<std::string, std::string> environment = ScenarioEnvironment();
    environment["OMBRIX_CONVERTER_EXIT_CODE"] = "0";
    environment["OMBRIX_CONVERTER_FILES"] = sources.Inside("c.dng") + ">raw.dng";
    environment["OMBRIX_CONVERTER_VALUE"] = "given:X:\\given";
    ASSERT_EQ(RunChild(StandIn, "-embedding", environment), 0);
    EXPECT_EQ(OutputValue(), "X:\\given");
    std::string folder = Record().at("exportFolder");
    EXPECT_EQ(ReadFileBytes(folder + "\\raw.dng"), "dng bytes");
}

TEST_F(Embedding, MissingSourceFailsWithoutWritingTheValue)
{
    ASSERT_EQ(WriteOutputFolderValue(""), ERROR_SUCCESS);
    scenario.files = {{sources.Inside("nowhere.jpg"), "nowhere.jpg"}};
    EXPECT_EQ(Run(), 3);
    EXPECT_EQ(OutputValue(), "");
    nlohmann::json record = Record();
    EXPECT_EQ(record.at("phase"), "failed");
    EXPECT_NE(record.at("problem").get<std::string>().find("nowhere.jpg"), std::string::npos);
}

// Names the system's code page (1252 in the tests) cannot hold: CJK,
// Polish, an emoji (a surrogate pair), a fullwidth reverse solidus.
const std::string OutsideFolder = "Łódź 写真 📷";
const std::vector<std::string> OutsideNames = {"写真.jpg", "Łódź.dng", "📷 rose.tif", "..＼victim＼keep.jpg"};

TEST_F(Embedding, NamesOutsideTheCodePageReachTheFolderAndTheValueExactly)
{
    std::string outside = parent.MakeFolder(OutsideFolder);
    scenario.outputParent = outside;
    for (const std::string& name : OutsideNames)
        scenario.files.push_back({sources.MakeFile(name, "bytes of " + name), name});
    ASSERT_EQ(Run(), 0);
    std::string folder = OutputValue();
    EXPECT_EQ(folder.rfind(outside + "\\OmbrixExport-", 0), 0u) << folder;
    std::vector<std::string> sorted = OutsideNames;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(FolderEntries(folder), sorted) << "the fullwidth solidus parts no name";
    for (const std::string& name : OutsideNames)
        EXPECT_EQ(ReadFileBytes(InFolder(folder, name)), "bytes of " + name) << name;
    EXPECT_EQ(Record().at("exportFolder"), folder);
    EXPECT_EQ(Record().at("problem"), "");
}

TEST_F(Embedding, VariablesAndGivenValuesCarryNamesOutsideTheCodePage)
{
    std::string outside = parent.MakeFolder(OutsideFolder);
    std::string source = sources.MakeFile("📷 rose.tif", "tiff");
    const std::string given = "C:\\" + OutsideFolder + "\\写真";
    ASSERT_EQ(RunChild(StandIn, "-embedding",
                       {{"OMBRIX_CONVERTER_PARENT", outside},
                        {"OMBRIX_CONVERTER_FILES", source + ">Łódź\\写真.tif"},
                        {"OMBRIX_CONVERTER_VALUE", "given:" + given},
                        {"OMBRIX_CONVERTER_RECORD", scenario.recordFile}}),
              0);
    EXPECT_EQ(GetWideText(HKEY_CURRENT_USER, PluginSettingsKey, OutputFolderValueName), given) << "a REG_SZ";
    std::string folder = Record().at("exportFolder");
    EXPECT_EQ(folder.rfind(outside + "\\", 0), 0u) << folder;
    EXPECT_EQ(ReadFileBytes(folder + "\\Łódź\\写真.tif"), "tiff");
}

TEST_F(Embedding, PathsPastThe259CharacterLimitAreExported)
{
    scenario.outputParent = parent.MakeFolder(OutsideFolder);
    const std::string name = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\📷 rose.tif";
    scenario.files = {{sources.Inside("b.tif"), name, false, true, true}};
    ASSERT_EQ(Run(), 0);
    std::string path = InFolder(OutputValue(), name);
    EXPECT_GT(Utf8ToWide(path).size(), 300u);
    EXPECT_EQ(ReadFileBytes(path), "tiff bytes");
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
}

// The tests above prove something only where the code page cannot hold
// their names: 1252, as Wine gives with LC_ALL=C.UTF-8 (scripts/wine-env.sh).
TEST(WineEnvironment, CodePageIs1252AndHoldsNoneOfTheTestNames)
{
    EXPECT_EQ(GetACP(), 1252u) << "Wine runs with another code page: set LC_ALL=C.UTF-8";
    std::vector<std::string> names = OutsideNames;
    names.push_back(OutsideFolder);
    for (const std::string& name : names) {
        std::wstring wide = Utf8ToWide(name);
        char narrow[64];
        BOOL lost = FALSE;
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), int(wide.size()), narrow, sizeof narrow,
                            nullptr, &lost);
        EXPECT_TRUE(lost) << name;
    }
}

TEST_F(Embedding, MalformedScenarioFails)
{
    std::string file = sources.MakeFile("broken.json", "{ \"files\": [");
    EXPECT_EQ(RunChild(StandIn, "-embedding", {{ScenarioFileVariable, file}}), 3);
}

}  // namespace
