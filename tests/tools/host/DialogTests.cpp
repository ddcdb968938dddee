// Dialogs and message boxes: recorded with their texts, answered so that no
// test waits for a person, and modeless dialogs without buttons left alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestModuleRun.h"

namespace {

bool Contains(const std::vector<std::string>& captions, const std::string& caption)
{
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
}

TEST(HostDialogs, MessageBoxIsRecordedAndAnsweredWithOk)
{
    HostReport report = ImportWithTestModule("messageBox=Test Warning|Something went wrong.");
    EXPECT_EQ(report.Selectors(), (std::vector<int16_t>{4, 1, 2, 3, 5})) << "the run went on";
    const DialogRecord* box = report.FindDialog("Test Warning");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->messageBox);
    EXPECT_EQ(box->text, "Something went wrong.");
    EXPECT_EQ(box->action, "pressed OK");
    EXPECT_EQ(box->duringSelector, SelectorPrepare);
    EXPECT_TRUE(box->closed);
}

TEST(HostDialogs, AboutMessageBoxIsRecorded)
{
    ReferenceHost host;
    ASSERT_TRUE(host.Load(TestModulePath())) << host.LoadError();
    HostReport report = host.About();
    EXPECT_EQ(report.Selectors(), (std::vector<int16_t>{0}));
    ASSERT_EQ(report.dialogs.size(), 1u);
    EXPECT_EQ(report.dialogs[0].caption, "About Test Module");
    EXPECT_EQ(report.dialogs[0].text, "A module for the host's own tests.");
    EXPECT_EQ(report.dialogs[0].duringSelector, SelectorAbout);
}

TEST(HostDialogs, ProgressDialogWithoutButtonsIsOnlyRecorded)
{
    HostReport report = ImportWithTestModule("progressDialog=1");
    const DialogRecord* progress = report.FindDialog("Test Module Progress ");
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->messageBox);
    EXPECT_EQ(progress->text, "Working, please wait ...");
    EXPECT_EQ(progress->action, "none (no button)");
    EXPECT_TRUE(progress->closed) << "the module destroys it in Finalize";

    ASSERT_EQ(report.calls.size(), 5u);
    EXPECT_TRUE(Contains(report.calls[0].dialogsOpenAfter, "Test Module Progress "));
    EXPECT_TRUE(Contains(report.calls[3].dialogsOpenBefore, "Test Module Progress ")) << "still there at Finish";
    EXPECT_TRUE(report.calls[4].dialogsOpenAfter.empty());
}

TEST(HostDialogs, ModelessDialogWithAButtonIsAnsweredBetweenCalls)
{
    HostReport report = ImportWithTestModule("notice=1");
    const DialogRecord* notice = report.FindDialog("Test Module Notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->action, "pressed OK");
    EXPECT_FALSE(notice->messageBox);
    EXPECT_EQ(notice->text, "Notice text");
    EXPECT_FALSE(Contains(report.calls.at(1).dialogsOpenBefore, "Test Module Notice"));
}

TEST(HostDialogs, PersonModeLeavesDialogsOpen)
{
    HostOptions options;
    options.dialogs = DialogMode::LeaveForPerson;
    HostReport report = ImportWithTestModule("notice=1", options);
    const DialogRecord* notice = report.FindDialog("Test Module Notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->action, "left open");
    EXPECT_TRUE(Contains(report.calls.at(3).dialogsOpenBefore, "Test Module Notice"));
}

TEST(HostDialogs, ScreenshotModePressesOkAfterItsPause)
{
    HostOptions options;
    options.dialogs = DialogMode::PauseForScreenshot;
    options.screenshotPauseMs = 50;
    HostReport report = ImportWithTestModule("messageBox=Shot|Picture me.", options);
    const DialogRecord* box = report.FindDialog("Shot");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->action, "pressed OK");
    EXPECT_TRUE(box->closed);
    EXPECT_EQ(report.Selectors().size(), 5u);
}

}  // namespace
