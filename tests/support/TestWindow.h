// A plain top-level window for tests: a stand-in for the host's main window,
// or a window to place. Destroyed with the object.
#pragma once

#include <windows.h>

class TestWindow {
public:
    // Screen rectangle of the whole window; WS_POPUP without border makes the
    // client area the same rectangle.
    TestWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE, HWND owner = nullptr,
               const char* title = "Test host");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window; }

private:
    HWND window;
};
