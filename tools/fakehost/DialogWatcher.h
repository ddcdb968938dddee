// Automates the dialogs and message boxes that the code under test opens on
// this thread, as a person would answer them: each dialog (class #32770) is
// recorded when it is first activated (caption, controls) and then answered,
// so that no test waits for a person. A time limit closes whatever is left.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct WatchedControl {
    int id = 0;
    std::string className;
    std::string text;
    LONG style = 0;
    bool visible = false;
    HANDLE image = nullptr;  // a static control's icon or bitmap
};

struct WatchedWindow {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::string className;
    std::string caption;
    LONG style = 0;
    std::vector<WatchedControl> controls;

    // Text of the first control with this id, "" when there is none.
    std::string TextOf(int id) const;
    // A message box's text is its static control 0xFFFF.
    std::string MessageText() const { return TextOf(0xFFFF); }
    // Texts of the visible push buttons, in the order of the controls.
    std::vector<std::string> VisibleButtons() const;
    // The image of the first static control of that type (SS_ICON, SS_BITMAP).
    HANDLE ImageOf(LONG staticType) const;
};

// How a dialog is answered. Everything is posted, as a user's input would
// arrive, and takes effect when the dialog's loop gets to it.
enum class DialogAnswer {
    None,      // leave it open
    PressOk,   // the OK command (WM_COMMAND IDOK)
    ClickOk,   // a click on the OK button (BM_CLICK)
    Enter,     // the Enter key
    Escape,    // the Escape key
    CloseBox,  // the caption's close box (SC_CLOSE)
};

void AnswerDialog(HWND dialog, DialogAnswer answer);

class DialogWatcher {
public:
    using Handler = std::function<void(const WatchedWindow&)>;

    explicit DialogWatcher(DialogAnswer answer = DialogAnswer::PressOk, UINT timeLimitMs = 15000);
    explicit DialogWatcher(Handler handler, UINT timeLimitMs = 15000);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    const std::vector<WatchedWindow>& Windows() const { return windows; }
    // True when the time limit passed with a dialog still open; it was then
    // sent OK and the thread's loop was asked to quit.
    bool TimedOut() const { return timedOut; }

    // Runs `action` once this thread's message loop has handled everything
    // posted so far (a thread timer: the lowest of all messages).
    static void WhenIdle(std::function<void()> action);

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimeLimitReached(HWND, UINT, UINT_PTR, DWORD);
    void Record(HWND window);

    Handler handler;
    HHOOK hook = nullptr;
    UINT_PTR timeLimit = 0;
    bool timedOut = false;
    std::vector<WatchedWindow> windows;
    std::set<HWND> open;
};
