#include "fakehost/DialogWatcher.h"

#include "common/WindowReading.h"

#include <map>

namespace {

DialogWatcher* active = nullptr;  // one watcher per test at a time
std::map<UINT_PTR, std::function<void()>> idleActions;

BOOL CALLBACK AddControl(HWND control, LPARAM lParam)
{
    auto* controls = reinterpret_cast<std::vector<WatchedControl>*>(lParam);
    WatchedControl c;
    c.id = GetDlgCtrlID(control) & 0xFFFF;
    c.className = ClassOf(control);
    c.text = WindowText(control);
    c.style = GetWindowLongA(control, GWL_STYLE);
    c.visible = (c.style & WS_VISIBLE) != 0;
    if (_stricmp(c.className.c_str(), "Static") == 0) {
        if ((c.style & SS_TYPEMASK) == SS_ICON)
            c.image = reinterpret_cast<HANDLE>(SendMessageA(control, STM_GETICON, 0, 0));
        else if ((c.style & SS_TYPEMASK) == SS_BITMAP)
            c.image = reinterpret_cast<HANDLE>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    controls->push_back(c);
    return TRUE;
}

void PostKey(HWND dialog, UINT key)
{
    HWND focus = GetFocus();
    HWND target = focus != nullptr && IsChild(dialog, focus) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void CALLBACK RunIdleAction(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto found = idleActions.find(id);
    if (found == idleActions.end())
        return;
    std::function<void()> action = std::move(found->second);
    idleActions.erase(found);
    action();
}

}  // namespace

std::string WatchedWindow::TextOf(int id) const
{
    for (const WatchedControl& c : controls)
        if (c.id == id)
            return c.text;
    return "";
}

std::vector<std::string> WatchedWindow::VisibleButtons() const
{
    std::vector<std::string> buttons;
    for (const WatchedControl& c : controls) {
        bool pushButton = (c.style & BS_TYPEMASK) == BS_PUSHBUTTON || (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (c.visible && pushButton && _stricmp(c.className.c_str(), "Button") == 0)
            buttons.push_back(c.text);
    }
    return buttons;
}

HANDLE WatchedWindow::ImageOf(LONG staticType) const
{
    for (const WatchedControl& c : controls)
        if (_stricmp(c.className.c_str(), "Static") == 0 && (c.style & SS_TYPEMASK) == staticType)
            return c.image;
    return nullptr;
}

void AnswerDialog(HWND dialog, DialogAnswer answer)
{
    switch (answer) {
    case DialogAnswer::None:
        break;
    case DialogAnswer::PressOk:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        break;
    case DialogAnswer::ClickOk:
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        break;
    case DialogAnswer::Enter:
        PostKey(dialog, VK_RETURN);
        break;
    case DialogAnswer::Escape:
        PostKey(dialog, VK_ESCAPE);
        break;
    case DialogAnswer::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

DialogWatcher::DialogWatcher(DialogAnswer answer, UINT timeLimitMs)
    : DialogWatcher([answer](const WatchedWindow& w) { AnswerDialog(w.window, answer); }, timeLimitMs)
{
}

DialogWatcher::DialogWatcher(Handler handler, UINT timeLimitMs) : handler(std::move(handler))
{
    active = this;
    hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    timeLimit = SetTimer(nullptr, 0, timeLimitMs, TimeLimitReached);
}

DialogWatcher::~DialogWatcher()
{
    if (hook != nullptr)
        UnhookWindowsHookEx(hook);
    if (timeLimit != 0)
        KillTimer(nullptr, timeLimit);
    active = nullptr;
    // Actions still waiting belong to this test and must not run in the next.
    for (auto& [id, action] : idleActions)
        KillTimer(nullptr, id);
    idleActions.clear();
    // A quit asked for by the time limit must not end the next test's loops.
    MSG quit;
    if (timedOut)
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
}

void DialogWatcher::WhenIdle(std::function<void()> action)
{
    UINT_PTR id = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunIdleAction);
    if (id != 0)
        idleActions[id] = std::move(action);
}

LRESULT CALLBACK DialogWatcher::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (active != nullptr) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && active->open.count(window) == 0 && ClassOf(window) == "#32770")
            active->Record(window);
        else if (code == HCBT_DESTROYWND)
            active->open.erase(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogWatcher::Record(HWND window)
{
    open.insert(window);
    WatchedWindow w;
    w.window = window;
    w.owner = GetWindow(window, GW_OWNER);
    w.className = ClassOf(window);
    w.caption = WindowText(window);
    w.style = GetWindowLongA(window, GWL_STYLE);
    EnumChildWindows(window, AddControl, reinterpret_cast<LPARAM>(&w.controls));
    windows.push_back(w);
    if (handler)
        handler(w);  // a copy: the handler may open further dialogs
}

void CALLBACK DialogWatcher::TimeLimitReached(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (active == nullptr || active->timeLimit != id)
        return;
    active->timeLimit = 0;
    active->timedOut = true;
    for (HWND window : active->open)
        if (IsWindow(window))
            AnswerDialog(window, DialogAnswer::PressOk);
    PostQuitMessage(0);
}
