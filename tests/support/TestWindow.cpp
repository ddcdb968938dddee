#include "support/TestWindow.h"

namespace {

const char* WindowClass()
{
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        windowClass.lpszClassName = "OmbrixTestWindow";
        RegisterClassA(&windowClass);
        return "OmbrixTestWindow";
    }();
    return name;
}

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height, DWORD style, HWND owner, const char* title)
    : window(CreateWindowExA(0, WindowClass(), title, style, x, y, width, height, owner, nullptr,
                             GetModuleHandleA(nullptr), nullptr))
{
}

TestWindow::~TestWindow()
{
    if (window != nullptr && IsWindow(window))
        DestroyWindow(window);
}
