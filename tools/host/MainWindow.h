// The host's main window: the owner of the module's dialogs, handed to the
// module as platformData.
#pragma once

#include <windows.h>

class MainWindow {
public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Window() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Dispatches the thread's waiting messages (paints, posted commands). A
// quit message ends the pumping, as it ends a host's own loop: true then,
// with its exit code in quitCode.
bool PumpWaitingMessages(int* quitCode = nullptr);
