// The About box as the host gets it: selector 0 of the real module, a dialog
// over the host's window that only OK (or Enter) closes.
#include <gtest/gtest.h>

#include <memory>

#include "RealModule.h"
#include "ui/DialogPlacement.h"
#include "support/DialogWatcher.h"
#include "support/TestWindow.h"

namespace {

int hostMessagesSeen = 0;

LRESULT CALLBACK CountingHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        ++hostMessagesSeen;
    return DefWindowProcA(window, message, wParam, lParam);
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(module.entry, nullptr);
        platform.hwnd = reinterpret_cast<intptr_t>(host->handle());
        about.platformData = &platform;
    }

    // Selector 0, as the host calls it; the data slot and the result are not touched.
    void ShowAbout()
    {
        intptr_t slot = 0;
        int16_t result = 77;
        module.entry(SelectorAbout, &about, &slot, &result);
        EXPECT_EQ(result, 77);
        EXPECT_EQ(slot, 0);
    }

    RealModule module;
    std::unique_ptr<TestWindow> host = std::make_unique<TestWindow>(60, 40, 900, 640);
    PlatformData platform{};
    AboutRecord about{};
};

TEST_F(AboutBoxTest, ShowsThePictureAndOkOverTheHostWindow)
{
    BITMAP picture{};
    RECT placed{};
    bool hostEnabled = false;
    DialogWatcher watcher([&](const WatchedWindow& w) {
        GetObjectA(w.ImageOf(SS_BITMAP), sizeof picture, &picture);
        GetWindowRect(w.window, &placed);
        hostEnabled = IsWindowEnabled(host->handle()) != FALSE;
        AnswerDialog(w.window, DialogAnswer::ClickOk);
    });
    ShowAbout();

    EXPECT_FALSE(watcher.TimedOut());
    ASSERT_EQ(watcher.Windows().size(), 1u);
    const WatchedWindow& box = watcher.Windows()[0];
    EXPECT_EQ(box.caption, "About Ombrix");
    EXPECT_EQ(box.owner, host->handle());
    EXPECT_NE(box.style & WS_SYSMENU, 0);
    EXPECT_EQ(box.VisibleButtons(), std::vector<std::string>{"OK"});
    EXPECT_EQ(picture.bmWidth, 510);
    EXPECT_EQ(picture.bmHeight, 281);
    EXPECT_TRUE(hostEnabled) << "the host's window is not disabled";
    EXPECT_FALSE(IsWindow(box.window)) << "destroyed once OK was pressed";

    // Centred over the host's client area, a third of the way down, shifted
    // by a whole caption button for its system menu.
    DialogOrigin expected = PlaceDialog({60, 40, 960, 680}, placed.right - placed.left, placed.bottom - placed.top,
                                        GetSystemMetrics(SM_CXSIZE), true, GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
}

TEST_F(AboutBoxTest, EnterClosesTheBoxLikeOk)
{
    DialogWatcher watcher(DialogAnswer::Enter);
    ShowAbout();
    EXPECT_FALSE(watcher.TimedOut());
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_FALSE(IsWindow(watcher.Windows()[0].window));
}

TEST_F(AboutBoxTest, EscapeAndTheCloseBoxLeaveItOpen)
{
    bool openAfterward = false;
    DialogWatcher watcher([&](const WatchedWindow& w) {
        AnswerDialog(w.window, DialogAnswer::Escape);
        AnswerDialog(w.window, DialogAnswer::CloseBox);
        DialogWatcher::WhenIdle([&, window = w.window] {
            openAfterward = IsWindow(window) && IsWindowVisible(window);
            AnswerDialog(window, DialogAnswer::PressOk);
        });
    });
    ShowAbout();
    EXPECT_FALSE(watcher.TimedOut());
    EXPECT_TRUE(openAfterward);
}

TEST_F(AboutBoxTest, SecondOpeningShowsAFreshBox)
{
    int openWhenChecked = 0;
    DialogWatcher watcher([&](const WatchedWindow& w) {
        PostMessageA(w.window, WM_NULL, 0, 0);  // some traffic before the check
        DialogWatcher::WhenIdle([&, window = w.window] {
            openWhenChecked += IsWindow(window) && IsWindowVisible(window);
            AnswerDialog(window, DialogAnswer::ClickOk);
        });
    });
    ShowAbout();
    ShowAbout();
    EXPECT_FALSE(watcher.TimedOut());
    ASSERT_EQ(watcher.Windows().size(), 2u);
    EXPECT_EQ(openWhenChecked, 2) << "the second box waits for its own OK";
}

TEST_F(AboutBoxTest, HostWindowsKeepGettingTheirMessages)
{
    SetWindowLongPtrA(host->handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingHostProc));
    hostMessagesSeen = 0;
    DialogWatcher watcher([&](const WatchedWindow& w) {
        PostMessageA(host->handle(), WM_APP, 0, 0);
        DialogWatcher::WhenIdle([window = w.window] { AnswerDialog(window, DialogAnswer::PressOk); });
    });
    ShowAbout();
    EXPECT_EQ(hostMessagesSeen, 1);
}

TEST_F(AboutBoxTest, QuitMessageEndsTheWaitDestroysTheBoxAndIsPassedOn)
{
    DialogWatcher watcher([](const WatchedWindow&) { PostQuitMessage(3); });
    ShowAbout();
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_FALSE(IsWindow(watcher.Windows()[0].window));
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the host's loop must still see its quit";
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(AboutBoxTest, HostWindowClosedUnderneathEndsTheWait)
{
    DialogWatcher watcher([&](const WatchedWindow&) {
        DialogWatcher::WhenIdle([&] { host.reset(); });
    });
    ShowAbout();
    EXPECT_FALSE(watcher.TimedOut());
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_FALSE(IsWindow(watcher.Windows()[0].window));
}

TEST_F(AboutBoxTest, MissingPlatformDataShowsTheBoxWithoutOwner)
{
    about.platformData = nullptr;
    DialogWatcher watcher(DialogAnswer::PressOk);
    ShowAbout();
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_EQ(watcher.Windows()[0].owner, nullptr);
}

}  // namespace
