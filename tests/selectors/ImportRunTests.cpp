// Whole import runs as the host sees them: the calls and their results, the
// documents made, the progress dialog, and the DNG hand-off seen from the new
// host instance the module started.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <thread>
#include <nlohmann/json.hpp>

#include "common/Environment.h"
#include "selectors/ImportRunFixture.h"
#include "common/ProgramFolder.h"
#include "common/WindowReading.h"
#include "support/FileContents.h"
#include "support/TestImages.h"


namespace {

using Trace = std::vector<std::string>;
const char ProgressCaption[] = "Ombrix Import Plugin ";
const char ImportFailedText[] = "An error occured while importing images.\n\nPlease contact Korvel.";

bool DialogOpenAfter(const CallRecord& call)
{
    for (const std::string& caption : call.dialogsOpenAfter)
        if (caption == ProgressCaption)
            return true;
    return false;
}


// The converter the module starts: the stand-in of this program's own
// architecture and, where ctest names it (selectors_tests_converter32 of the
// 64-bit tree), the 32-bit one of the other tree. Its keys are the same in
// both registry views, so a 64-bit module finds, starts, waits for and reads
// a 32-bit converter as it does its own.
constexpr const char Converter32Variable[] = "OMBRIX_CONVERTER32";

struct ConverterCase {
    std::string name;
    std::string program;
    size_t pointerBits;
};

void PrintTo(const ConverterCase& converter, std::ostream* out)
{
    *out << converter.program;
}

std::vector<ConverterCase> Converters()
{
    std::vector<ConverterCase> cases{{"SameArchitecture", BesideProgram("ombrix-converter.exe"), 8 * sizeof(void*)}};
    const std::string converter32 = EnvironmentVariable(Converter32Variable);
    if (!converter32.empty())
        cases.push_back({"ThirtyTwoBit", converter32, 32});
    return cases;
}

class ImportRunConverterTest : public ImportRunTest, public testing::WithParamInterface<ConverterCase> {};

TEST_P(ImportRunConverterTest, ImagesBecomeDocumentsAndTheDngIsHandedOffInFinalize)
{
    const ConverterCase& converter = GetParam();
    ASSERT_NE(GetFileAttributesA(converter.program.c_str()), INVALID_FILE_ATTRIBUTES)
        << "no converter stand-in at " << converter.program << " (scripts/build.sh builds both trees)";
    RegisterConverter(converter.program);
    scenario.recordFile = scratch.Inside("converter-run.json");
    Export({Jpeg("a.jpg"), Tiff("b.tif"), Dng("c.dng")});
    HostReport report = Run();

    EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=0", "continue=0", "finish=0+again", "start=0",
                                        "continue=0", "finish=0", "finalize=0"}));
    ASSERT_EQ(Filenames(report), (std::vector<std::string>{"a.jpg", "b.tif"}));
    EXPECT_EQ(report.documents[0].depth, 8);
    EXPECT_EQ(report.documents[0].pixels.Bytes(),
              DecodeForComparison(FIF_JPEG, Jpeg("").source, JPEG_ACCURATE).bytes);
    EXPECT_EQ(report.documents[1].depth, 16);
    EXPECT_EQ(report.documents[1].pixels.Bytes(), ExpectedRgb48(12, 8).bytes);
    EXPECT_FALSE(DialogOpenAfter(report.calls.front())) << "the dialog goes in Prepare's tail";
    EXPECT_TRUE(MessageTexts(report).empty());

    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({ExportFolder() + "\\c.dng"}));
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{ExportFolder()});

    // The run's converter was the registered program, of the expected width.
    const nlohmann::json record = nlohmann::json::parse(ReadFileBytes(scenario.recordFile), nullptr, false);
    ASSERT_TRUE(record.is_object()) << "the converter left no record of its run";
    EXPECT_EQ(record.value("phase", ""), "done");
    EXPECT_EQ(record.value("modulePath", ""), converter.program);
    EXPECT_EQ(record.value("exportFolder", ""), ExportFolder());
    EXPECT_EQ(record.value("pointerBits", size_t(0)), converter.pointerBits);
}

INSTANTIATE_TEST_SUITE_P(Converters, ImportRunConverterTest, testing::ValuesIn(Converters()),
                         [](const testing::TestParamInfo<ConverterCase>& info) { return info.param.name; });

TEST_F(ImportRunTest, OnlyDngsAreHandedOffInPrepareAndNothingIsAcquired)
{
    Export({Dng("c.dng")});
    Host().Options().finalizeAfterFailedPrepare = true;
    HostReport report = Run();

    EXPECT_EQ(CallTrace(report), (Trace{"prepare=-128", "finalize=0"}));
    EXPECT_TRUE(report.documents.empty());
    EXPECT_FALSE(DialogOpenAfter(report.calls.front()));
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u) << "one launch in Prepare, none in Finalize";
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({ExportFolder() + "\\c.dng"}));
    EXPECT_EQ(handOffs[0].paths, std::vector<std::string>{ExportFolder() + "\\c.dng"});
}

TEST_F(ImportRunTest, FolderWithoutSupportedFilesEndsInStartWithMessageThree)
{
    Export({Folder("sub.jpg"), {BesideProgram("ombrix-converter.exe"), "notes.txt"}, Jpeg("UPPER.JPG")});
    HostReport report = Run();

    EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=-128", "finalize=0"}));
    EXPECT_EQ(MessageTexts(report), std::vector<std::string>{ImportFailedText});
    EXPECT_TRUE(report.documents.empty() || report.CompleteDocuments() == 0);
    EXPECT_TRUE(HandOffs(0).empty());
}

TEST_F(ImportRunTest, EmptyExportFolderAlsoEndsInStartWithMessageThree)
{
    Export({});
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=-128", "finalize=0"}));
    EXPECT_EQ(MessageTexts(report), std::vector<std::string>{ImportFailedText});
}

TEST_F(ImportRunTest, DngsBeforeAndAfterTheFirstImageGoTogetherInFinalize)
{
    Export({Dng("a.dng"), Jpeg("b.jpg"), Dng("c.dng"), Tiff("d.tif"), Dng("e.dng")});
    HostReport report = Run();

    EXPECT_EQ(CallTrace(report), (Trace{"prepare=0", "start=0", "continue=0", "finish=0+again", "start=0",
                                        "continue=0", "finish=0", "finalize=0"}));
    EXPECT_EQ(Filenames(report), (std::vector<std::string>{"b.jpg", "d.tif"}));
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    std::string folder = ExportFolder();
    EXPECT_EQ(handOffs[0].commandLine,
              HandOffCommandLine({folder + "\\a.dng", folder + "\\c.dng", folder + "\\e.dng"}));
}

TEST_F(ImportRunTest, NamesAreClassifiedWithCaseAndFoldersAreSkippedButHiddenFilesAreNot)
{
    ExportEntry hidden = Tiff("hidden.tif");
    hidden.hidden = true;
    ExportEntry readOnly = Jpeg("locked.jpg");
    readOnly.readOnly = true;
    Export({Jpeg("A.JPG"), Dng("B.DNG"), Tiff("c.Tif"), Folder("folder.jpg"), Folder("raw.dng"), hidden, readOnly,
            Jpeg("photo.jpeg"), Tiff("scan.tiff")});
    HostReport report = Run();

    EXPECT_EQ(Filenames(report), (std::vector<std::string>{"hidden.tif", "locked.jpg", "photo.jpeg", "scan.tiff"}));
    EXPECT_TRUE(HandOffs(0).empty()) << "neither B.DNG nor the folder raw.dng is handed off";
}

TEST_F(ImportRunTest, FolderValueEndingInBackslashDoublesTheSeparator)
{
    // The converter exports into a folder of its own and names it with a
    // trailing backslash.
    scenario.value = OutputValue::Given;
    std::string folder = scratch.MakeFolder("given");
    scenario.givenValue = folder + "\\";
    Export({});
    CopyFileA(scratch.Inside("sources\\sample.dng").c_str(), (folder + "\\c.dng").c_str(), FALSE);
    CopyFileA(scratch.Inside("sources\\sample.jpg").c_str(), (folder + "\\a.jpg").c_str(), FALSE);

    HostReport report = Run();
    EXPECT_EQ(Filenames(report), std::vector<std::string>{"a.jpg"});
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({folder + "\\\\c.dng"}));
}

TEST_F(ImportRunTest, EmptyFolderValueCancelsWithoutScanOrRecord)
{
    ExportNothingButWrite(OutputValue::Empty);
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), Trace{"prepare=-128"});
    EXPECT_FALSE(DialogOpenAfter(report.calls.front()));
    EXPECT_TRUE(CleanupRecords().empty());
    EXPECT_TRUE(MessageTexts(report).empty());
}

TEST_F(ImportRunTest, MissingFolderIsRecordedForCleanupAndCancels)
{
    std::string missing = scratch.Inside("never-made");
    ExportNothingButWrite(OutputValue::Given, missing);
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), Trace{"prepare=-128"});
    EXPECT_FALSE(DialogOpenAfter(report.calls.front()));
    EXPECT_EQ(CleanupRecords(), std::vector<std::string>{missing});
}

// A listing that fails for any reason but finding nothing says nothing of
// what the folder holds: here the converter named a file.
TEST_F(ImportRunTest, FolderThatCannotBeListedIsNotRecorded)
{
    const std::string file = scratch.MakeFile("not-a-folder", "text");
    ExportNothingButWrite(OutputValue::Given, file);
    EXPECT_EQ(CallTrace(Run()), Trace{"prepare=-128"});
    EXPECT_TRUE(CleanupRecords().empty());
}

TEST_F(ImportRunTest, FinalizeAfterAPrepareThatNeverReachedTheScan)
{
    RegDeleteKeyA(HKEY_CLASSES_ROOT, TestCommandKey);
    Host().Options().finalizeAfterFailedPrepare = true;
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), (Trace{"prepare=-108", "finalize=0"}));
    EXPECT_EQ(MessageTexts(report),
              std::vector<std::string>{"The application Ombrix cannot be found on your computer!"});
    EXPECT_TRUE(HandOffs(0).empty());
}

TEST_F(ImportRunTest, TwoRunsInOneLoadEachScanTheirOwnFolder)
{
    Export({Jpeg("a.jpg"), Dng("c.dng")});
    HostReport first = Run();
    EXPECT_EQ(Filenames(first), std::vector<std::string>{"a.jpg"});
    std::string firstFolder = ExportFolder();
    ASSERT_EQ(HandOffs(1).size(), 1u);
    RemoveTree(handOffFolder);
    CreateDirectoryA(handOffFolder.c_str(), nullptr);
    RemoveTree(firstFolder);

    Export({Tiff("b.tif"), Dng("d.dng")});
    HostReport second = Run();
    EXPECT_EQ(Filenames(second), std::vector<std::string>{"b.tif"});
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({ExportFolder() + "\\d.dng"}))
        << "the first run's list was emptied by its launch";
}

// DNG files whose entries fill the longest command line exactly go in one
// hand-off; one character more and the last file goes in a second. Each
// file once either way.
TEST_F(ImportRunTest, DngsAreHandedOffInBatchesThatFitTheLongestCommandLine)
{
    const size_t room = 32766 - HandOffCommandLine({}).size();
    scenario.value = OutputValue::Given;
    for (size_t extra : {0, 1}) {
        SCOPED_TRACE(extra);
        RemoveTree(handOffFolder);
        CreateDirectoryA(handOffFolder.c_str(), nullptr);
        const std::string folder = scratch.MakeFolder("given-" + std::to_string(extra));
        scenario.givenValue = folder;
        Export({});
        // 130 entries of folder, backslash, name and three characters more.
        const size_t count = 130;
        const size_t names = room - count * (folder.size() + 4) + extra;
        std::vector<std::string> made;
        for (size_t i = 0; i < count; ++i) {
            const size_t length = names / count + (i < names % count ? 1 : 0);
            made.push_back(std::to_string(100 + i) + std::string(length - 7, 'r') + ".dng");
            ASSERT_TRUE(CopyFileA(scratch.Inside("sources\\sample.dng").c_str(), InFolder(folder, made.back()).c_str(),
                                  FALSE));
        }
        HostReport report = Run();
        EXPECT_EQ(CallTrace(report), Trace{"prepare=-128"});
        auto handOffs = HandOffs(1 + extra);
        ASSERT_EQ(handOffs.size(), 1 + extra);
        EXPECT_EQ(HandedPaths(handOffs), PathsIn(folder, made));
        size_t longest = 0;
        for (const HandOffRecord& record : handOffs)
            longest = std::max(longest, record.commandLine.size());
        EXPECT_EQ(longest == 32766, extra == 0) << longest;
        EXPECT_GT(longest, 32766 - 300) << "only the entry that did not fit waits for the next line";
    }
}

// Prepare fails, and the host may or may not send Finalize: the DNG files on
// both sides of the first image go either way, once. The picture never
// became a document, so its folder is not recorded for cleanup.
TEST_F(ImportRunTest, HostWithoutBufferSuiteIsWarnedButDngsStillGo)
{
    Host().Options().bufferSuite.version = 1;
    for (bool finalize : {false, true}) {
        SCOPED_TRACE(finalize ? "Finalize after the failed Prepare" : "no Finalize");
        RemoveTree(handOffFolder);
        CreateDirectoryA(handOffFolder.c_str(), nullptr);
        Export({Dng("c.dng"), Jpeg("d.jpg"), Dng("e.dng")});
        Host().Options().finalizeAfterFailedPrepare = finalize;
        HostReport report = Run();
        EXPECT_EQ(CallTrace(report), finalize ? (Trace{"prepare=-128", "finalize=0"}) : Trace{"prepare=-128"});
        bool warned = false;
        for (const DialogRecord& dialog : report.dialogs)
            warned |= dialog.text == "This plug-in requires Adobe Photoshop\xAE 2.5 or later functionality.";
        EXPECT_TRUE(warned);
        auto handOffs = HandOffs(1);
        ASSERT_EQ(handOffs.size(), 1u) << "the conversion ran and Prepare handed the folder's DNGs off";
        EXPECT_EQ(HandedPaths(handOffs), PathsIn(ExportFolder(), {"c.dng", "e.dng"}));
        EXPECT_TRUE(CleanupRecords().empty());
    }
}

// The root of a drive is listed without "." and "..": its first entry can be
// an image.
class DriveRootRunTest : public ImportRunTest {
protected:
    DriveRootRunTest()
    {
        ClearDrive();
        scenario.value = OutputValue::Given;
        scenario.givenValue = "T:";
        Export({});
    }
    ~DriveRootRunTest() override { ClearDrive(); }
    void Put(const char* sample, const char* name)
    {
        CopyFileA(scratch.Inside(std::string("sources\\") + sample).c_str(), (std::string("T:\\") + name).c_str(),
                  FALSE);
    }
    static void ClearDrive()
    {
        for (const char* name : {"a.jpg", "b.tif", "c.dng"})
            DeleteFileA((std::string("T:\\") + name).c_str());
    }
};

TEST_F(DriveRootRunTest, FirstEntryThatIsAnImageKeepsTheDialogUntilFinalize)
{
    Put("sample.jpg", "a.jpg");
    Put("sample.dng", "c.dng");
    HostReport report = Run();

    ASSERT_EQ(CallTrace(report), (Trace{"prepare=0", "start=0", "continue=0", "finish=0", "finalize=0"}));
    EXPECT_TRUE(DialogOpenAfter(report.calls[0])) << "Prepare ended at the first entry";
    EXPECT_TRUE(DialogOpenAfter(report.calls[3])) << "still there after Finish";
    EXPECT_FALSE(DialogOpenAfter(report.calls[4])) << "Finalize closes it";
    EXPECT_EQ(Filenames(report), std::vector<std::string>{"a.jpg"});
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].commandLine, HandOffCommandLine({"T:\\c.dng"}));
}

TEST_F(DriveRootRunTest, SecondRunInOneLoadScansANewFolderWhoseFirstEntryIsAnImage)
{
    Put("sample.tif", "b.tif");
    HostReport first = Run();
    EXPECT_EQ(Filenames(first), std::vector<std::string>{"b.tif"});
    ClearDrive();

    Put("sample.jpg", "a.jpg");
    Put("sample.tif", "b.tif");
    HostReport second = Run();
    EXPECT_EQ(CallTrace(second), (Trace{"prepare=0", "start=0", "continue=0", "finish=0+again", "start=0",
                                        "continue=0", "finish=0", "finalize=0"}));
    EXPECT_EQ(Filenames(second), (std::vector<std::string>{"a.jpg", "b.tif"}));
}

// The hand-off goes to the host's own executable; moved away for a moment,
// it cannot be started.
TEST_F(ImportRunTest, FailedHandOffKeepsTheListForTheNextRun)
{
    Export({Dng("c.dng")});
    HostReport first;
    {
        HostProgramAway away;
        ASSERT_TRUE(away.Moved());
        first = Run();
    }
    std::string firstFolder = ExportFolder();

    EXPECT_EQ(CallTrace(first), Trace{"prepare=-128"});
    EXPECT_EQ(MessageTexts(first),
              std::vector<std::string>{
                  "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !"});
    EXPECT_TRUE(HandOffs(0).empty());

    scenario.outputParent = scratch.MakeFolder("exports-2");
    Export({Dng("d.dng")});
    HostReport second = Run();
    EXPECT_EQ(CallTrace(second), Trace{"prepare=-128"});
    auto handOffs = HandOffs(1);
    ASSERT_EQ(handOffs.size(), 1u);
    std::string secondFolder = scratch.Inside("exports-2");
    ASSERT_EQ(handOffs[0].paths.size(), 2u) << handOffs[0].commandLine;
    EXPECT_EQ(handOffs[0].paths[0], firstFolder + "\\c.dng") << "the kept entry first";
    EXPECT_EQ(handOffs[0].paths[1].rfind(secondFolder, 0), 0u);
    EXPECT_EQ(handOffs[0].paths[1].substr(handOffs[0].paths[1].size() - 6), "\\d.dng");
}

const char UnsupportedText[] = "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !";


// The host sends no Finalize after a Prepare that failed: the dialog must go
// with that Prepare, whatever made it fail.
TEST_F(ImportRunTest, FailedPrepareTakesTheDialogWithIt)
{
    ExportNothingButWrite(OutputValue::Given, std::string(300, 'x'));  // longer than any folder read
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), Trace{"prepare=-128"});
    EXPECT_FALSE(DialogOpenAfter(report.calls.front()));
}

TEST_F(DriveRootRunTest, FailedPrepareAtAFirstImageTakesTheDialogWithIt)
{
    Put("sample.jpg", "a.jpg");
    Host().Options().bufferSuite.version = 1;  // no usable buffer suite
    HostReport report = Run();
    EXPECT_EQ(CallTrace(report), Trace{"prepare=-128"});
    EXPECT_FALSE(DialogOpenAfter(report.calls.front()));
}

BOOL CALLBACK MatchProgressDialog(HWND window, LPARAM found)
{
    if (ClassOf(window) != "#32770" || WindowText(window) != ProgressCaption)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The module's window on a thread.
HWND ProgressDialogOn(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(thread, MatchProgressDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A Prepare that stops at an image leaves the progress dialog up until
// Finalize; the host unloads the module instead. A run on a thread of its
// own, unloaded by that thread (as a host does) or by another one; then the
// dialog's handle gets the messages it would get on screen. A window whose
// dialog procedure went with the module would end the process here.
TEST_F(DriveRootRunTest, ProgressDialogLeftOnScreenGoesWithTheModule)
{
    for (const bool unloadedByItsThread : {true, false}) {
        SCOPED_TRACE(unloadedByItsThread ? "unloaded by the dialog's thread" : "unloaded by another thread");
        Put("sample.jpg", "a.jpg");
        std::unique_ptr<ReferenceHost> host;
        Trace calls;
        HWND dialog = nullptr;
        bool visibleBeforeUnload = false;
        bool windowAfterUnload = false;
        DWORD runThread = 0;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread run([&] {
            runThread = GetCurrentThreadId();
            HostOptions options = RunOptions();
            options.leaveRunAfter = SelectorPrepare;
            host = std::make_unique<ReferenceHost>(options);
            if (host->Load(BesideProgram("OmbrixImport.8ba"))) {
                calls = CallTrace(host->Import());
                dialog = ProgressDialogOn(runThread);
                visibleBeforeUnload = IsWindowVisible(dialog) != FALSE;
            }
            if (unloadedByItsThread) {
                host->Unload();
                windowAfterUnload = IsWindow(dialog) != FALSE;
            }
            SetEvent(ready);
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0)
                DispatchMessageA(&message);
            host.reset();
        });
        const bool ran = WaitForSingleObject(ready, 120000) == WAIT_OBJECT_0;
        CloseHandle(ready);
        if (!ran) {
            PostThreadMessageA(runThread, WM_QUIT, 0, 0);  // ends the wait of a Prepare too
            run.join();
            FAIL() << "the run did not end";
        }
        EXPECT_EQ(calls, Trace{"prepare=0"});
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(visibleBeforeUnload);
        if (unloadedByItsThread) {
            EXPECT_FALSE(windowAfterUnload) << "destroyed before the module's code went";
        } else {
            host->Unload();
            EXPECT_FALSE(IsWindowVisible(dialog));
        }
        // Answered by the system alone, on the dialog's thread, which then
        // reads the close message posted to another thread's dialog.
        for (UINT message : {WM_TIMER, WM_ACTIVATE, WM_PAINT, WM_CLOSE}) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(dialog, message, message == WM_TIMER ? 1 : 0, 0, SMTO_BLOCK, 5000, &answer);
        }
        for (int wait = 0; wait < 500 && IsWindow(dialog); ++wait)
            Sleep(10);
        EXPECT_FALSE(IsWindow(dialog));
        PostThreadMessageA(runThread, WM_QUIT, 0, 0);
        run.join();
    }
}

// A host whose window is closed while the module waits must still get its
// quit message, with its exit code, once the module returns.
TEST_F(ImportRunTest, QuitDuringTheWaitReachesTheHost)
{
    Export({Jpeg("a.jpg")});
    scenario.delayMs = 2000;
    Export({Jpeg("a.jpg")});
    Host().Options().quitOnDialog = ProgressCaption;
    Host().Options().quitExitCode = 5;
    HostReport report = Run();
    ASSERT_EQ(CallTrace(report), Trace{"prepare=-128"});
    EXPECT_TRUE(report.calls[0].quitSeen);
    EXPECT_EQ(report.calls[0].quitExitCode, 5);
    EXPECT_FALSE(DialogOpenAfter(report.calls[0]));
}

TEST_F(ImportRunTest, QuitDuringTheAboutBoxReachesTheHostAndTheBoxIsGone)
{
    Host().Options().quitOnDialog = "About Ombrix";
    Host().Options().quitExitCode = 9;
    HostReport report = Host().About();
    ASSERT_EQ(report.calls.size(), 1u);
    EXPECT_TRUE(report.calls[0].quitSeen);
    EXPECT_EQ(report.calls[0].quitExitCode, 9);
    ASSERT_EQ(report.dialogs.size(), 1u);
    EXPECT_TRUE(report.dialogs[0].closed);
}

// A host whose own path is too long to tell cannot be started again: that is
// a failed launch, and the list waits. Run from a deep folder by the test
// selectors_tests_deep_host_path.
// The module knows the host's path at any length, but Windows starts no
// program from a path past its classic limit.
TEST_F(ImportRunTest, HostPathTooLongToStartIsAFailedLaunchAndTheListWaits)
{
    if (EnvironmentVariable(BuildFolderVariable).empty())
        GTEST_SKIP() << "runs from a copy of this program in a deep folder";
    wchar_t path[1024];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, 1024), DWORD(MAX_PATH)) << "the folder is not deep enough";
    Export({Dng("c.dng")});
    HostReport first = Run();
    EXPECT_EQ(CallTrace(first), Trace{"prepare=-128"});
    EXPECT_EQ(MessageTexts(first), std::vector<std::string>{UnsupportedText});

    Export({Jpeg("a.jpg")});  // no DNG of its own: Finalize tries the kept list
    HostReport second = Run();
    EXPECT_EQ(Filenames(second), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(MessageTexts(second), std::vector<std::string>{UnsupportedText});
}

}  // namespace
