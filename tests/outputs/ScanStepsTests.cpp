// The scan's steps in-process: what Finish does at the end of the folder, and
// a search (and a bitmap) left by a run that was never finalized.
#include <gtest/gtest.h>

#include <vector>

#include "outputs/HandOffList.h"
#include "outputs/OutputScan.h"
#include "outputs/SeenFiles.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"
#include "common/TempFolder.h"
#include "fakehost/DialogWatcher.h"
#include "support/RegistryTestKeys.h"
#include "support/TestImages.h"
#include "common/WideText.h"

namespace {

class ScanSteps : public RegistryTest {
protected:
    ScanSteps()
    {
        folder.MakeFile("a.jpg");
        OutputFolder = Utf8ToWide(folder.Path());
        ReleaseHandOffList();
        recordBytes.assign(NewestAcquireRecordSize, 0);
        globals.result = &result;
        globals.record = reinterpret_cast<AcquireRecord*>(recordBytes.data());
    }
    ~ScanSteps() override
    {
        CloseScan();
        ScanCursor = ScanCursorState{};
        ReleaseCurrentBitmap();
        ReleaseHandOffList();
        ReleaseFilesSeen();
    }

    TempFolder folder{"ombrix-scan"};
    std::vector<char> recordBytes;
    int16_t result = 0;
    PluginGlobals globals{};
};

TEST_F(ScanSteps, FinishAfterTheLastEntryAsksForNoMoreAndASecondFinishDoesNothing)
{
    ASSERT_TRUE(OpenScan());
    EXPECT_FALSE(TakeEntry()) << "the first entry is \".\"";
    AdvanceScan();
    ASSERT_TRUE(MoreEntries);
    EXPECT_STREQ(ScanCursor.findData.cFileName, L"a.jpg");

    globals.record->acquireAgain = true;
    FinishHandler(&globals);
    EXPECT_FALSE(globals.record->acquireAgain);
    EXPECT_FALSE(MoreEntries);
    EXPECT_EQ(result, 0);

    globals.record->acquireAgain = true;
    FinishHandler(&globals);
    EXPECT_FALSE(globals.record->acquireAgain);
    EXPECT_FALSE(MoreEntries);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(HandOffPending());
}

TEST_F(ScanSteps, NewScanOverASearchLeftOpenStartsFromTheFirstEntry)
{
    ASSERT_TRUE(OpenScan());
    AdvanceScan();
    ASSERT_STREQ(ScanCursor.findData.cFileName, L"a.jpg");
    ASSERT_TRUE(OpenScan());
    EXPECT_STREQ(ScanCursor.findData.cFileName, L".");
    AdvanceScan();
    EXPECT_STREQ(ScanCursor.findData.cFileName, L"a.jpg");
    EXPECT_TRUE(MoreEntries);
}

TEST_F(ScanSteps, FolderThatCannotBeListedEndsTheScan)
{
    OutputFolder = Utf8ToWide(folder.Path() + "\\missing");
    MoreEntries = true;
    EXPECT_FALSE(OpenScan());
    EXPECT_FALSE(MoreEntries);
    AdvanceScan();  // nothing to move on with, and no crash
    EXPECT_FALSE(MoreEntries);
}

// The host left the last run after Start. The next Prepare, even one whose
// converter cannot be found, lets go of that run's bitmap and ends its scan:
// the DNG file after the picture is collected, and the folder, whose
// picture never became a document, is not recorded.
TEST_F(ScanSteps, NextPrepareEndsARunLeftAfterStart)
{
    folder.MakeFile("b.dng");
    CreateKey(HKEY_CURRENT_USER, TestCleanupKey);
    CreateKey(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\shell\\open");  // no command: message 1
    ASSERT_TRUE(OpenScan());
    AdvanceScan();
    ASSERT_STREQ(ScanCursor.findData.cFileName, L"a.jpg");
    CurrentBitmap = MakeRgb24(8, 8);  // as Start left it

    DialogWatcher boxes;
    PrepareHandler(&globals);
    EXPECT_EQ(result, ResultOutOfMemory);
    EXPECT_EQ(CurrentBitmap, nullptr);
    EXPECT_EQ(ScanCursor.findHandle, nullptr) << "the search is closed";
    EXPECT_TRUE(HandOffWaitsFor(Utf8ToWide(folder.Path()))) << "b.dng waits for the next hand-off";
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).empty());
}

}  // namespace
