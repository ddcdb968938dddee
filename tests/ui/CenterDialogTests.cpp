// Where dialogs land over their owner: the arithmetic on its own, then real
// windows moved by CenterDialog.
#include <gtest/gtest.h>

#include "ui/CenterDialog.h"
#include "ui/DialogPlacement.h"
#include "support/TestWindow.h"

namespace {

const ScreenArea Owner{100, 100, 900, 700};

TEST(PlaceDialog, WorkedExampleLandsAt288And266)
{
    DialogOrigin at = PlaceDialog(Owner, 400, 100, 18, false, 1024, 768);
    EXPECT_EQ(at.x, 288);  // 200 + 100 - (18 - 6)
    EXPECT_EQ(at.y, 266);  // 500 / 3 + 100
}

TEST(PlaceDialog, SystemMenuShiftsByTheWholeCaptionButton)
{
    EXPECT_EQ(PlaceDialog(Owner, 400, 100, 18, true, 1024, 768).x, 282);
    EXPECT_EQ(PlaceDialog(Owner, 400, 100, 19, false, 1024, 768).x, 287) << "19 - 19 / 3 = 13";
    EXPECT_EQ(PlaceDialog(Owner, 400, 100, 19, true, 1024, 768).x, 281);
}

TEST(PlaceDialog, DialogLargerThanItsOwnerStartsAtTheOwnersCorner)
{
    DialogOrigin at = PlaceDialog({100, 100, 300, 150}, 400, 100, 18, false, 1024, 768);
    EXPECT_EQ(at.x, 88);
    EXPECT_EQ(at.y, 100);
}

TEST(PlaceDialog, NoClampAtTheLeftOrTopEdge)
{
    DialogOrigin at = PlaceDialog({0, -60, 300, 30}, 400, 100, 18, false, 1024, 768);
    EXPECT_EQ(at.x, -12);
    EXPECT_EQ(at.y, -60);
}

TEST(PlaceDialog, PushedBackInsideTheRightAndBottomEdges)
{
    DialogOrigin at = PlaceDialog({800, 700, 1000, 760}, 400, 100, 18, false, 1024, 768);
    EXPECT_EQ(at.x, 624);
    EXPECT_EQ(at.y, 668);
}

TEST(PlaceDialog, DialogLargerThanTheScreenStopsAtZero)
{
    DialogOrigin at = PlaceDialog({800, 700, 1000, 760}, 1100, 800, 18, false, 1024, 768);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

RECT WindowRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

class CenterDialogTest : public ::testing::Test {
protected:
    int c = GetSystemMetrics(SM_CXSIZE);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
};

TEST_F(CenterDialogTest, WorkedExampleThroughRealWindows)
{
    TestWindow owner(100, 100, 800, 600);
    RECT client{};
    GetClientRect(owner.handle(), &client);
    POINT corner{0, 0};
    ClientToScreen(owner.handle(), &corner);
    ASSERT_EQ(corner.x, 100);
    ASSERT_EQ(corner.y, 100);
    ASSERT_EQ(client.right, 800);
    ASSERT_EQ(client.bottom, 600);
    ASSERT_GE(screenWidth, 688);
    ASSERT_GE(screenHeight, 366);

    TestWindow dialog(0, 0, 400, 100, WS_POPUP | WS_CAPTION, owner.handle(), "No system menu");
    CenterDialog(dialog.handle());

    RECT placed = WindowRect(dialog.handle());
    EXPECT_EQ(placed.left, 300 - (c - c / 3));
    EXPECT_EQ(placed.top, 266);
    EXPECT_EQ(placed.right - placed.left, 400) << "size kept";
    EXPECT_EQ(placed.bottom - placed.top, 100);
    if (c == 18) {
        EXPECT_EQ(placed.left, 288);
    }
}

TEST_F(CenterDialogTest, DialogWithSystemMenuMovesLeftByTheWholeButtonWidth)
{
    TestWindow owner(100, 100, 800, 600);
    TestWindow dialog(0, 0, 400, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner.handle(), "System menu");
    CenterDialog(dialog.handle());
    RECT placed = WindowRect(dialog.handle());
    EXPECT_EQ(placed.left, 300 - c);
    EXPECT_EQ(placed.top, 266);
}

TEST_F(CenterDialogTest, DialogWithoutOwnerSitsOverTheDesktop)
{
    TestWindow dialog(5, 5, 400, 100, WS_POPUP | WS_CAPTION, nullptr, "No owner");
    CenterDialog(dialog.handle());
    RECT placed = WindowRect(dialog.handle());
    EXPECT_EQ(placed.left, (screenWidth - 400) / 2 - (c - c / 3));
    EXPECT_EQ(placed.top, (screenHeight - 100) / 3);
}

TEST_F(CenterDialogTest, OwnerAtTheRightEdgePushesTheDialogBackOnScreen)
{
    TestWindow owner(screenWidth - 150, 100, 300, 200);
    TestWindow dialog(0, 0, 400, 100, WS_POPUP | WS_CAPTION, owner.handle(), "Pushed");
    CenterDialog(dialog.handle());
    EXPECT_EQ(WindowRect(dialog.handle()).left, screenWidth - 400);
    EXPECT_EQ(WindowRect(dialog.handle()).top, 133);
}

}  // namespace
