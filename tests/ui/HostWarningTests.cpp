// The warning boxes a host without a needed facility gets: which text, with
// which version, and when nothing is shown at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/HostWarnings.h"
#include "hostutil/ShortString.h"
#include "support/DialogWatcher.h"
#include "support/TestWindow.h"

namespace {

const std::string NeedsVersion30 = "This plug-in requires Adobe Photoshop\xAE 3.0 or later functionality.";
const std::string NeedsVersion25 = "This plug-in requires Adobe Photoshop\xAE 2.5 or later functionality.";
const std::string Incompatible = "This plug-in is incompatible with this version of the host program.";

OSErr __cdecl AdvanceStateStub() { return 0; }
OSErr __cdecl AllocateStub(int32_t, BufferID*) { return 0; }
Ptr __cdecl LockStub(BufferID, Boolean) { return nullptr; }
void __cdecl UnlockStub(BufferID) {}
void __cdecl FreeStub(BufferID) {}
int32_t __cdecl SpaceStub() { return 0; }

BufferProcs UsableBufferSuite()
{
    return BufferProcs{2, 5, AllocateStub, LockStub, UnlockStub, FreeStub, SpaceStub};
}

// The title a message box gets when it is given none.
std::string SystemDefaultTitle()
{
    DialogWatcher watcher;
    MessageBoxA(nullptr, "probe", nullptr, MB_OK);
    return watcher.Windows().empty() ? "" : watcher.Windows()[0].caption;
}

class HostWarningTest : public ::testing::Test {
protected:
    HINSTANCE instance = GetModuleHandleA(nullptr);  // carries the module's string table

    // The one warning box that `show` opened, pressed OK.
    WatchedWindow OnlyWarningOf(const std::function<void()>& show)
    {
        DialogWatcher watcher;
        show();
        EXPECT_FALSE(watcher.TimedOut());
        EXPECT_EQ(watcher.Windows().size(), 1u);
        return watcher.Windows().empty() ? WatchedWindow{} : watcher.Windows()[0];
    }

    void ExpectWarningBox(const WatchedWindow& box, const std::string& text)
    {
        EXPECT_EQ(box.MessageText(), text);
        EXPECT_EQ(box.caption, SystemDefaultTitle()) << "no caption of the module's own";
        EXPECT_EQ(box.VisibleButtons(), std::vector<std::string>{"OK"});
        EXPECT_EQ(box.ImageOf(SS_ICON), LoadIconA(nullptr, IDI_WARNING)) << "the warning icon";
        EXPECT_EQ(box.owner, nullptr);
    }
};

TEST_F(HostWarningTest, MissingAdvanceStateAsksForVersion30)
{
    bool passed = true;
    WatchedWindow box = OnlyWarningOf([&] { passed = CheckAdvanceState(nullptr, instance); });
    EXPECT_FALSE(passed);
    ExpectWarningBox(box, NeedsVersion30);
}

TEST_F(HostWarningTest, PresentAdvanceStatePassesSilently)
{
    DialogWatcher watcher;
    EXPECT_TRUE(CheckAdvanceState(AdvanceStateStub, instance));
    EXPECT_TRUE(watcher.Windows().empty());
}

TEST_F(HostWarningTest, OldOrIncompleteBufferSuiteAsksForVersion25)
{
    std::vector<std::pair<const char*, BufferProcs>> cases;
    auto add = [&](const char* name, auto change) {
        BufferProcs procs = UsableBufferSuite();
        change(procs);
        cases.push_back({name, procs});
    };
    add("version 1", [](BufferProcs& p) { p.bufferProcsVersion = 1; });
    add("four procs", [](BufferProcs& p) { p.numBufferProcs = 4; });
    add("no allocate", [](BufferProcs& p) { p.allocateProc = nullptr; });
    add("no lock", [](BufferProcs& p) { p.lockProc = nullptr; });
    add("no unlock", [](BufferProcs& p) { p.unlockProc = nullptr; });
    add("no free", [](BufferProcs& p) { p.freeProc = nullptr; });
    add("no space", [](BufferProcs& p) { p.spaceProc = nullptr; });

    for (auto& [name, procs] : cases) {
        SCOPED_TRACE(name);
        bool passed = true;
        WatchedWindow box = OnlyWarningOf([&] { passed = CheckBufferSuite(&procs, instance); });
        EXPECT_FALSE(passed);
        ExpectWarningBox(box, NeedsVersion25);
    }

    bool passed = true;
    WatchedWindow box = OnlyWarningOf([&] { passed = CheckBufferSuite(nullptr, instance); });
    EXPECT_FALSE(passed);
    ExpectWarningBox(box, NeedsVersion25);
}

TEST_F(HostWarningTest, NewerBufferSuiteIsCalledIncompatible)
{
    BufferProcs procs = UsableBufferSuite();
    procs.bufferProcsVersion = 3;
    bool passed = true;
    WatchedWindow box = OnlyWarningOf([&] { passed = CheckBufferSuite(&procs, instance); });
    EXPECT_FALSE(passed);
    ExpectWarningBox(box, Incompatible);
}

TEST_F(HostWarningTest, UsableBufferSuitePassesSilently)
{
    BufferProcs procs = UsableBufferSuite();
    procs.numBufferProcs = 7;  // a newer host's longer suite of the same version
    DialogWatcher watcher;
    EXPECT_TRUE(CheckBufferSuite(&procs, instance));
    EXPECT_TRUE(watcher.Windows().empty());
}

TEST_F(HostWarningTest, EveryCheckWarnsAfresh)
{
    DialogWatcher watcher;
    EXPECT_FALSE(CheckAdvanceState(nullptr, instance));
    EXPECT_FALSE(CheckAdvanceState(nullptr, instance));
    EXPECT_FALSE(CheckBufferSuite(nullptr, instance));
    EXPECT_FALSE(CheckBufferSuite(nullptr, instance));
    ASSERT_EQ(watcher.Windows().size(), 4u);
    EXPECT_EQ(watcher.Windows()[1].MessageText(), NeedsVersion30);
    EXPECT_EQ(watcher.Windows()[3].MessageText(), NeedsVersion25);
}

TEST_F(HostWarningTest, AlertIdentifierZeroShowsNothing)
{
    ShortString text;
    FormatDecimal(text, 2.5, 1);
    DialogWatcher watcher;
    EXPECT_EQ(ShowHostWarning(instance, nullptr, 0, HostTooOldMessage, text, nullptr), 0);
    EXPECT_TRUE(watcher.Windows().empty());
}

TEST_F(HostWarningTest, MessageNumberZeroShowsAnEmptyBox)
{
    int16_t answer = 0;
    WatchedWindow box = OnlyWarningOf([&] { answer = ShowHostWarning(instance, nullptr, HostAlertId, 0, nullptr, nullptr); });
    EXPECT_EQ(answer, IDOK);
    ExpectWarningBox(box, "");
}

TEST_F(HostWarningTest, BothTextsAndTheOwnerReachTheBox)
{
    TestWindow host(10, 10, 300, 200);
    ShortString low, high;
    FormatInteger(1, low);
    FormatInteger(10, high);
    int16_t answer = 0;
    WatchedWindow box = OnlyWarningOf([&] { answer = ShowHostWarning(instance, host.handle(), HostAlertId, HostAlertId, low, high); });
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(box.MessageText(), "An integer is required between 1 and 10.");
    EXPECT_EQ(box.owner, host.handle());
}

TEST_F(HostWarningTest, LongTextIsCutTo254Characters)
{
    ShortString version;
    FormatDecimal(version, 3.0, 1);
    std::string digits;
    for (int i = 0; i < 30; ++i)
        digits += "0123456789";
    // String 30002 is "^1 " and 297 more characters: 254 of them are loaded,
    // and the text with "3.0" in place is again cut to 254.
    WatchedWindow box = OnlyWarningOf([&] { ShowHostWarning(instance, nullptr, HostAlertId, 30002, version, nullptr); });
    EXPECT_EQ(box.MessageText(), "3.0 " + digits.substr(3, 250));
}

}  // namespace
