#include "host/MainWindow.h"

namespace {

constexpr const char* ClassName = "OmbrixReferenceHost";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce()
{
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), ClassName, &windowClass))
        return;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = ClassName;
    RegisterClassA(&windowClass);
}

}  // namespace

MainWindow::MainWindow()
{
    RegisterOnce();
    window_ = CreateWindowExA(0, ClassName, "Ombrix Reference Host", WS_OVERLAPPEDWINDOW, 40, 40, 900, 640,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ != nullptr) {
        ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
    }
}

MainWindow::~MainWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

bool PumpWaitingMessages(int* quitCode)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            if (quitCode != nullptr)
                *quitCode = int(message.wParam);
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}
