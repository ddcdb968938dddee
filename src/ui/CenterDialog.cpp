#include "ui/CenterDialog.h"

#include "ui/DialogPlacement.h"

void CenterDialog(HWND dialog)
{
    HWND reference = GetParent(dialog);  // the owner, for an owned dialog
    if (reference == nullptr)
        reference = GetDesktopWindow();

    RECT client{};
    GetClientRect(reference, &client);
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(reference, &topLeft);
    ClientToScreen(reference, &bottomRight);

    RECT window{};
    GetWindowRect(dialog, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    bool hasSystemMenu = (GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU) != 0;

    DialogOrigin origin = PlaceDialog({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, width, height,
                                      GetSystemMetrics(SM_CXSIZE), hasSystemMenu, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER);
}
