// Runs that do not go as planned, seen from the host: refused images among
// sound ones, a run the host ends early, hand-offs that cannot start. Every
// sound picture arrives, and every DNG is handed off exactly once.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "selectors/ImportRunFixture.h"
#include "common/ProgramFolder.h"
#include "support/RuntimeHeap.h"
#include "support/TestImages.h"

namespace {

using Trace = std::vector<std::string>;
const char ImportFailedText[] = "An error occured while importing images.\n\nPlease contact Korvel.";
const char UnsupportedText[] = "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !";

class RunEndTest : public ImportRunTest {
protected:
    RunEndTest()
    {
        std::string sources = scratch.Inside("sources");
        cutJpeg = sources + "\\cut.jpg";
        SaveAndUnload(MakeRgb24(64, 48), FIF_JPEG, cutJpeg);
        TruncateFile(cutJpeg, 0.5);
        greyJpeg = sources + "\\grey.jpg";
        SaveAndUnload(MakeGrey8(12, 8), FIF_JPEG, greyJpeg);
    }
    ExportEntry Cut(const std::string& name) const { return {cutJpeg, name}; }
    ExportEntry Grey(const std::string& name) const { return {greyJpeg, name}; }

    // A folder of the test's own that the converter names as its export.
    std::string GivenFolder(const std::string& name)
    {
        const std::string folder = scratch.MakeFolder(name);
        ExportNothingButWrite(OutputValue::Given, folder);
        return folder;
    }
    static void Put(const ExportEntry& file, const std::string& folder)
    {
        ASSERT_TRUE(CopyFileA(file.source.c_str(), InFolder(folder, file.name).c_str(), FALSE)) << file.name;
    }
    void EmptyHandOffs()
    {
        RemoveTree(handOffFolder);
        CreateDirectoryA(handOffFolder.c_str(), nullptr);
    }
    bool Recorded(const std::string& folder) const
    {
        const std::vector<std::string> records = CleanupRecords();
        return std::find(records.begin(), records.end(), folder) != records.end();
    }
    // A load of the module after this one, whose cleanup runs, importing a
    // folder of its own.
    void RunNextLoad()
    {
        UnloadModule();
        scenario.value = OutputValue::Folder;
        Export({Jpeg("next.jpg")});
        EXPECT_EQ(Filenames(Run()), std::vector<std::string>{"next.jpg"});
    }

    std::string cutJpeg;
    std::string greyJpeg;
};

// The host ends the run after a failed Start; the module moves past each
// image it refuses instead, tells of the first only, and fails only when no
// image is left (the last one here), having collected the DNGs on the way.
TEST_F(RunEndTest, RefusedImagesAreToldOnceAndEverySoundPictureArrives)
{
    Export({Cut("a.jpg"), Jpeg("b.jpg"), Dng("c.dng"), Grey("d.jpg"), Tiff("e.tif"), Cut("f.jpg"), Dng("z.dng")});
    HostReport report = Run();

    EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=0", "continue=0", "finish=0+again", "start=0",
                                        "continue=0", "finish=0+again", "start=-128", "finalize=0"}));
    EXPECT_EQ(Filenames(report), (std::vector<std::string>{"b.jpg", "e.tif"}));
    EXPECT_EQ(MessageTexts(report), std::vector<std::string>{ImportFailedText}) << "the first refusal only";
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(HandedPaths(handOffs), PathsIn(ExportFolder(), {"c.dng", "z.dng"}));
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{ExportFolder()});

    // The next run tells of its own first refusal again.
    RemoveTree(handOffFolder);
    CreateDirectoryA(handOffFolder.c_str(), nullptr);
    Export({Grey("a.jpg"), Jpeg("b.jpg")});
    HostReport next = Run();
    EXPECT_EQ(Filenames(next), std::vector<std::string>{"b.jpg"});
    EXPECT_EQ(MessageTexts(next), std::vector<std::string>{UnsupportedText});
}

// The host stops after an image whose Continue failed, though Finish made
// the next one current: the rest of the folder is walked in Finalize. Two
// pictures never arrived, so the folder is not recorded for cleanup.
TEST_F(RunEndTest, RunTheHostEndsEarlyStillHandsOffTheRestOfTheFolder)
{
    struct Case {
        const char* what;
        int abortAtPoll;
        int errorAtStrip;
        const char* continued;
    } cases[] = {{"cancelled", 1, 0, "continue=-128"}, {"strip refused", 0, 1, "continue=-36"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(handOffFolder);
        CreateDirectoryA(handOffFolder.c_str(), nullptr);
        Host().Options().abortAtPoll = c.abortAtPoll;
        Host().Options().advanceStateErrorAtStrip = c.errorAtStrip;
        Export({Jpeg("a.jpg"), Dng("b.dng"), Jpeg("c.jpg"), Dng("z.dng")});
        HostReport report = Run();
        EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=0", c.continued, "finish=0+again", "finalize=0"}));
        auto handOffs = HandOffs(1);
        ASSERT_EQ(handOffs.size(), 1u);
        EXPECT_EQ(HandedPaths(handOffs), PathsIn(ExportFolder(), {"b.dng", "z.dng"}));
        EXPECT_TRUE(CleanupRecords().empty());
    }
}

// The host leaves a run half-way (nothing after Prepare, or after Start) and
// a whole run over another folder follows. The first folder's pictures never
// became documents: it is kept, whether or not a DNG of it went with the
// second run's. The whole run's folder is recorded, and the next load's
// cleanup empties it alone.
TEST_F(RunEndTest, FolderOfARunLeftHalfWayKeepsItsPicturesThroughTheNextLoad)
{
    const struct {
        const char* what;
        int16_t leaveAfter;
        bool withDng;
        Trace left;
    } cases[] = {
        {"after Prepare, with a DNG", SelectorPrepare, true, {"prepare=0"}},
        {"after Prepare, pictures only", SelectorPrepare, false, {"prepare=0"}},
        {"after Start, with a DNG", SelectorStart, true, {"prepare=0", "start=0"}},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UnloadModule();
        RemoveTree(handOffFolder);
        CreateDirectoryA(handOffFolder.c_str(), nullptr);
        exports = scratch.MakeFolder("exports-" + std::to_string(++run));
        scenario.outputParent = exports;
        Host().Options().leaveRunAfter = c.leaveAfter;
        std::vector<ExportEntry> files{Jpeg("a.jpg"), Jpeg("c.jpg")};
        if (c.withDng)
            files.insert(files.begin() + 1, Dng("b.dng"));
        Export(files);
        EXPECT_EQ(CallTrace(Run()), c.left);
        const std::string left = ExportFolder();

        Host().Options().leaveRunAfter = -1;
        Export({Jpeg("d.jpg")});
        EXPECT_EQ(Filenames(Run()), std::vector<std::string>{"d.jpg"});
        const std::string whole = ExportFolder();
        EXPECT_EQ(HandedPaths(HandOffs(c.withDng ? 1 : 0)),
                  c.withDng ? PathsIn(left, {"b.dng"}) : std::vector<std::string>{});
        EXPECT_EQ(CleanupRecords(), std::vector<std::string>{whole});

        UnloadModule();
        Export({Jpeg("e.jpg")});
        EXPECT_EQ(Filenames(Run()), std::vector<std::string>{"e.jpg"});
        EXPECT_FALSE(PathExists(whole)) << "the whole run's folder is emptied by the next load";
        for (const char* name : {"a.jpg", "c.jpg"})
            EXPECT_TRUE(PathExists(InFolder(left, name))) << name;
    }
}

// 1,500 DNGs while the host cannot be started: all of them wait, their
// folder stays on disk, and the next run hands each off once, in batches
// that each fit a command line; only then is the folder recorded.
TEST_F(RunEndTest, DngsThatCouldNotBeHandedOffWaitWithTheirFolderAndGoLaterEachOnce)
{
    std::vector<ExportEntry> files{Jpeg("a.jpg")};
    std::vector<std::string> names;
    for (int i = 0; i < 1500; ++i) {
        names.push_back("raw-" + std::to_string(10000 + i) + ".dng");
        files.push_back(Dng(names.back()));
    }
    Export(files);
    HostReport first;
    {
        HostProgramAway away;
        ASSERT_TRUE(away.Moved());
        first = Run();
    }
    std::string firstFolder = ExportFolder();
    EXPECT_EQ(Filenames(first), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(MessageTexts(first), std::vector<std::string>{UnsupportedText}) << "one failed launch, told once";
    EXPECT_TRUE(HandOffs(0).empty());
    EXPECT_TRUE(CleanupRecords().empty()) << "the folder holds DNGs that wait";

    exports = scratch.MakeFolder("exports-2");
    scenario.outputParent = exports;
    Export({Dng("own.dng")});
    HostReport second = Run();
    EXPECT_TRUE(MessageTexts(second).empty());
    auto handOffs = HandOffs(4);
    EXPECT_GE(handOffs.size(), 4u);
    for (const HandOffRecord& record : handOffs)
        EXPECT_LE(record.commandLine.size(), 32766u);
    std::vector<std::string> expected = PathsIn(firstFolder, names);
    expected.push_back(InFolder(ExportFolder(), "own.dng"));
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> handed = HandedPaths(handOffs);
    EXPECT_TRUE(handed == expected) << handed.size() << " paths handed off for " << expected.size() << " files";
    std::vector<std::string> records = CleanupRecords();
    std::sort(records.begin(), records.end());
    std::vector<std::string> folders{firstFolder, ExportFolder()};
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(records, folders) << "each folder recorded once its DNGs went";
}

// DNGs left waiting when the host unloads the module: the list that held
// them is given back with the module, and their folder, never recorded,
// outlives the cleanup of the next load.
TEST_F(RunEndTest, WaitingListIsGivenBackAtUnloadAndItsFolderOutlivesTheNextCleanup)
{
    std::vector<ExportEntry> files;
    for (int i = 0; i < 1500; ++i)
        files.push_back(Dng("raw-" + std::to_string(10000 + i) + ".dng"));
    Export(files);
    // A load of the module keeps what its static runtime set aside for
    // itself (more in a 64-bit build); one load and unload first counts it.
    const size_t beforeLoad = RuntimeHeapInUse();
    Host();
    UnloadModule();
    const size_t heldByALoad = RuntimeHeapInUse() - beforeLoad;
    const size_t before = RuntimeHeapInUse();
    {
        HostProgramAway away;
        ASSERT_TRUE(away.Moved());
        HostReport report = Run();
        EXPECT_EQ(MessageTexts(report), std::vector<std::string>{UnsupportedText});
    }
    const size_t loaded = RuntimeHeapInUse();
    UnloadModule();
    const size_t after = RuntimeHeapInUse();
    EXPECT_GT(loaded, before + 100000) << "the 1,500 entries were held";
    EXPECT_LT(after, before + heldByALoad + 32768)
        << "held " << after - before << " bytes after the unload, " << heldByALoad << " by any load";
    EXPECT_TRUE(CleanupRecords().empty());

    // The next load cleans up old folders: this one, never handed off, stays.
    const std::string waiting = ExportFolder();
    exports = scratch.MakeFolder("exports-2");
    scenario.outputParent = exports;
    Export({Jpeg("a.jpg")});
    EXPECT_EQ(Filenames(Run()), std::vector<std::string>{"a.jpg"});
    EXPECT_NE(GetFileAttributesA(InFolder(waiting, "raw-10000.dng").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{ExportFolder()});
}

// The converter exports into one folder twice in a load. Everything of the
// first run arrives, its DNG handed off or left waiting by a host that could
// not be started; the second run's new picture never arrives (the host
// cancels its Continue). No record of the folder, from either run, survives
// to the next load's cleanup, and the DNG goes to a host once.
TEST_F(RunEndTest, FolderUsedTwiceInOneLoadKeepsThePictureOfTheRunThatDidNotArrive)
{
    for (bool hostAway : {false, true}) {
        SCOPED_TRACE(hostAway ? "the first hand-off failed" : "the first hand-off went");
        UnloadModule();
        EmptyHandOffs();
        const std::string folder = GivenFolder(hostAway ? "twice-waiting" : "twice");
        Put(Jpeg("a.jpg"), folder);
        Put(Dng("d.dng"), folder);
        HostReport first;
        {
            std::optional<HostProgramAway> away;
            if (hostAway) {
                ASSERT_TRUE(away.emplace().Moved());
            }
            first = Run();
        }
        EXPECT_EQ(Filenames(first), std::vector<std::string>{"a.jpg"});
        EXPECT_EQ(Recorded(folder), !hostAway);

        Put(Jpeg("b.jpg"), folder);
        Host().Options().abortAtPoll = 1;
        HostReport second = Run();
        EXPECT_TRUE(Filenames(second).empty());
        EXPECT_EQ(HandedPaths(HandOffs(1)), PathsIn(folder, {"d.dng"})) << "once, by one run or the other";
        EXPECT_FALSE(Recorded(folder));

        RunNextLoad();
        EXPECT_TRUE(PathExists(InFolder(folder, "b.jpg")));
    }
}

// The converter's export queue writes a picture into the folder after the
// converter exited and the module listed the folder, before the module
// decides on it (the host's last moment before Finalize). No listing of
// the scan showed it: the folder is kept, and the next load leaves it.
TEST_F(RunEndTest, PictureWrittenAfterTheListingOutlivesTheNextLoad)
{
    scenario.lateFiles = {Jpeg("late.jpg")};
    scenario.lateAfter = scratch.Inside("late-go");
    scenario.lateDone = scratch.Inside("late-done");
    Export({Jpeg("a.jpg"), Jpeg("b.jpg")});
    Host().Options().beforeFinalize = [this] {
        std::ofstream(scenario.lateAfter) << "go";
        for (int waited = 0; !PathExists(scenario.lateDone) && waited < 20000; waited += 20)
            Sleep(20);
    };
    HostReport report = Run();
    EXPECT_EQ(Filenames(report), (std::vector<std::string>{"a.jpg", "b.jpg"}));
    const std::string folder = ExportFolder();
    ASSERT_TRUE(PathExists(InFolder(folder, "late.jpg"))) << "the late writer did not write before Finalize";
    EXPECT_TRUE(CleanupRecords().empty());

    scenario.lateFiles.clear();
    RunNextLoad();
    EXPECT_TRUE(PathExists(InFolder(folder, "late.jpg")));
}

// Only a picture refused for what it holds (damaged, not supported) lets its
// folder go, the second refusal of a run, told to no one, as much as the
// first. One that could not be opened (the converter or a virus scanner
// still holds it) may pass next time: its folder is kept.
TEST_F(RunEndTest, OnlyPicturesRefusedForTheirContentLetTheirFolderGo)
{
    const struct {
        const char* what;
        std::vector<ExportEntry> files;
        const char* locked;
        bool recorded;
    } cases[] = {
        {"damaged, then not supported", {Cut("a.jpg"), Grey("b.jpg"), Jpeg("c.jpg")}, nullptr, true},
        {"held open, the first refusal", {Jpeg("a.jpg"), Jpeg("b.jpg")}, "a.jpg", false},
        {"held open after a damaged one", {Cut("a.jpg"), Jpeg("b.jpg"), Jpeg("c.jpg")}, "b.jpg", false},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = GivenFolder("refusals-" + std::to_string(++run));
        for (const ExportEntry& file : c.files)
            Put(file, folder);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.locked != nullptr) {
            held = CreateFileA(InFolder(folder, c.locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        HostReport report = Run();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_EQ(MessageTexts(report), std::vector<std::string>{ImportFailedText}) << "the first refusal only";
        EXPECT_EQ(Recorded(folder), c.recorded);
    }
}

}  // namespace
