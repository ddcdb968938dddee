// Acts as a person at the installer's window would, and says what it saw:
// clicks Install on the folder page; then either reads the message box that
// follows and presses its first answer (OK, or Cancel on a Retry/Cancel box),
// reads the page the installer shows then and finally cancels the installer,
// or reads the last page and clicks Finish.
// Usage: installer_dialogs.exe CAPTION_START   (exit 1 when a window never came)
#include "common/WindowReading.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    std::string captionStart;
    HWND except;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data)
{
    Search* search = reinterpret_cast<Search*>(data);
    if (window != search->except && IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        WindowText(window).rfind(search->captionStart, 0) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog whose caption starts so, other than `except`.
HWND FindDialogNow(const std::string& captionStart, HWND except)
{
    Search search{captionStart, except, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same, waiting for it up to 30 s.
HWND WaitForDialog(const std::string& captionStart, HWND except)
{
    for (int i = 0; i < 300; ++i) {
        if (HWND found = FindDialogNow(captionStart, except))
            return found;
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK CollectTexts(HWND window, LPARAM data)
{
    if (ClassOf(window) == "Static" && !WindowText(window).empty())
        reinterpret_cast<std::vector<std::string>*>(data)->push_back(WindowText(window));
    return TRUE;
}

std::string StaticTexts(HWND dialog)
{
    std::vector<std::string> texts;
    EnumChildWindows(dialog, CollectTexts, reinterpret_cast<LPARAM>(&texts));
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : " | ") + text;
    for (char& c : joined)
        if (c == '\r' || c == '\n')
            c = ' ';
    return joined;
}

// As a click: the button itself is told, so the dialog sees what a mouse gives.
void Press(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: installer_dialogs.exe CAPTION_START\n");
        return 2;
    }
    HWND installer = WaitForDialog(argv[1], nullptr);
    if (installer == nullptr) {
        std::printf("no installer window\n");
        return 1;
    }
    Sleep(500);
    const std::string install = WindowText(GetDlgItem(installer, IDOK));
    std::printf("page: %s\n", install.c_str());
    Press(installer, IDOK);
    // A message, or the last page: its button enabled and named otherwise.
    HWND message = nullptr;
    for (int i = 0; i < 300 && message == nullptr; ++i) {
        message = FindDialogNow(argv[1], installer);
        HWND next = GetDlgItem(installer, IDOK);
        if (message == nullptr && IsWindowEnabled(next) && WindowText(next) != install) {
            Sleep(500);
            std::printf("last page: %s\n", StaticTexts(installer).c_str());
            std::fflush(stdout);
            Press(installer, IDOK);
            return 0;
        }
        Sleep(100);
    }
    if (message == nullptr) {
        std::printf("page then: %s\n", StaticTexts(installer).c_str());
        std::printf("no message\n");
        return 1;
    }
    std::printf("message: %s\n", StaticTexts(message).c_str());
    Press(message, GetDlgItem(message, IDOK) != nullptr ? IDOK : IDCANCEL);
    Sleep(1000);
    std::printf("after: %s\n", IsWindow(installer) ? WindowText(GetDlgItem(installer, IDOK)).c_str() : "(closed)");
    std::fflush(stdout);
    if (IsWindow(installer)) {
        Press(installer, IDCANCEL);
        if (HWND confirm = WaitForDialog(argv[1], installer))
            Press(confirm, IDYES);
    }
    return 0;
}
