// When a folder is recorded for cleanup, in-process: a DNG file the waiting
// list could not hold keeps its folder on disk, whatever runs follow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outputs/HandOffLaunch.h"
#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "outputs/SeenFiles.h"
#include "selectors/ModuleState.h"
#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "common/TempFolder.h"
#include "host/HandOffRecord.h"
#include "support/AllocationFailure.h"
#include "support/HostProgramAway.h"
#include "support/RegistryTestKeys.h"
#include "support/TransferHost.h"
#include "common/WideText.h"

namespace {

class FolderRecordTest : public RegistryTest {
protected:
    FolderRecordTest()
    {
        // This program is the host a hand-off starts: it records and exits.
        HandOffGuardLinked();
        handOffReports.Set(HandOffReportDirVariable, handOffs.Path());
        CreateKey(HKEY_CURRENT_USER, TestCleanupKey);
        ReleaseHandOffList();
    }
    ~FolderRecordTest() override
    {
        CloseScan();
        ScanCursor = ScanCursorState{};
        ReleaseHandOffList();
        ReleaseFilesSeen();
    }

    static void ScanFolder(const TempFolder& folder)
    {
        OutputFolder = Utf8ToWide(folder.Path());
        ASSERT_TRUE(OpenScan());
    }
    static std::vector<std::string> Records()
    {
        std::vector<std::string> folders;
        for (const std::string& name : ValueNames(HKEY_CURRENT_USER, TestCleanupKey))
            folders.push_back(GetValue(HKEY_CURRENT_USER, TestCleanupKey, name.c_str())->bytes.c_str());
        return folders;
    }

    TempFolder handOffs{"ombrix-handoffs"};
    ScopedEnvironment handOffReports;
    DialogWatcher boxes;
};

// A file that cannot be kept is told once a folder, and its folder, which
// still holds it, is not recorded; the same folder listed again with nothing
// lost is.
TEST_F(FolderRecordTest, FileThatCannotWaitIsToldOnceAndKeepsItsFolderOnDisk)
{
    TempFolder folder{"ombrix-lost"};
    ScanFolder(folder);
    for (const wchar_t* name : {L"a.dng", L"b.dng"}) {
        WIN32_FIND_DATAW entry{};
        wcscpy(entry.cFileName, name);
        FailAllocation(1);
        CollectDng(entry);
        AllocationsSinceArmed();
    }
    EXPECT_FALSE(HandOffPending());
    EXPECT_EQ(MessageTexts(boxes), std::vector<std::string>{ModuleMessageText(4)});
    EndRunOfFolder();
    EXPECT_TRUE(Records().empty());

    ScanFolder(folder);
    EndRunOfFolder();
    EXPECT_EQ(Records(), std::vector<std::string>{folder.Path()}) << "a folder with nothing lost is recorded";
}

// The first folder's DNG files: one could not be held, the other waits
// because the host cannot be started. The next run's scan of another folder
// must not forget that a file of the first was lost when the waiting one
// finally goes with the second folder's.
TEST_F(FolderRecordTest, DngTheListCouldNotHoldKeepsItsFolderWhenAnotherRunHandsOffTheRest)
{
    TempFolder first{"ombrix-first"};
    first.MakeFile("a.dng");
    first.MakeFile("b.dng");
    TempFolder second{"ombrix-second"};
    second.MakeFile("c.dng");

    ScanFolder(first);
    size_t allocations = 0;
    {
        HostProgramAway away;
        ASSERT_TRUE(away.Moved());
        // The list holds nothing: its first entry needs memory, and gets none.
        FailAllocation(1);
        EndRunOfFolder();
        allocations = AllocationsSinceArmed();
    }
    EXPECT_GE(allocations, 2u) << "the second file was kept";
    ASSERT_TRUE(HandOffPending());
    EXPECT_EQ(MessageTexts(boxes), (std::vector<std::string>{ModuleMessageText(4), ModuleMessageText(4)}))
        << "the lost file, then the failed launch";
    EXPECT_TRUE(Records().empty());

    ScanFolder(second);
    EndRunOfFolder();
    EXPECT_FALSE(HandOffPending());
    const std::vector<HandOffRecord> launched = WaitForHandOffRecords(handOffs.Path(), 1, 20000);
    ASSERT_EQ(launched.size(), 1u);
    ASSERT_EQ(launched[0].paths.size(), 2u) << launched[0].commandLine;
    EXPECT_EQ(launched[0].paths[0].rfind(first.Path() + "\\", 0), 0u) << launched[0].paths[0];
    EXPECT_EQ(launched[0].paths[1], InFolder(second.Path(), "c.dng"));
    EXPECT_EQ(Records(), std::vector<std::string>{second.Path()});
}

}  // namespace
