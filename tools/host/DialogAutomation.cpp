#include "host/DialogAutomation.h"

#include "common/WindowReading.h"

#include <cstdio>
#include <map>

namespace {

DialogAutomation* ActiveAutomation = nullptr;

// Dialogs waiting for their button press in screenshot mode, by timer.
std::map<UINT_PTR, HWND>& PendingPresses()
{
    static std::map<UINT_PTR, HWND> pending;
    return pending;
}

constexpr int MessageBoxTextId = 0xFFFF;

bool IsDialogWindow(HWND window)
{
    return ClassOf(window) == "#32770";
}

BOOL CALLBACK FindPushButton(HWND child, LPARAM param)
{
    if (!IsPushButton(child))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

HWND FirstPushButton(HWND dialog)
{
    HWND first = nullptr;
    EnumChildWindows(dialog, FindPushButton, reinterpret_cast<LPARAM>(&first));
    return first;
}

// A system message box's text is a static text control with id 0xFFFF. A
// dialog from resources may have such a control too (the usual id -1 for
// static controls): only one that also has a button counts as a message box.
HWND MessageBoxText(HWND dialog)
{
    HWND text = GetDlgItem(dialog, MessageBoxTextId);
    if (text == nullptr || _stricmp(ClassOf(text).c_str(), "Static") != 0)
        return nullptr;
    LONG type = GetWindowLongA(text, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE)
        return nullptr;
    return FirstPushButton(dialog) != nullptr ? text : nullptr;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM param)
{
    auto* controls = reinterpret_cast<std::vector<DialogControl>*>(param);
    controls->push_back(DialogControl{int(uint16_t(GetDlgCtrlID(child))), ClassOf(child), WindowText(child)});
    return TRUE;
}

void Press(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    // Posted, not sent: the dialog's owner may still be finishing its set-up
    // (a modeless box clears its "closed" flag after showing itself).
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

int AnsweringButton(HWND dialog)
{
    HWND ok = GetDlgItem(dialog, IDOK);
    if (ok != nullptr && IsPushButton(ok))
        return IDOK;
    LRESULT defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID && GetDlgItem(dialog, LOWORD(defaultId)) != nullptr)
        return LOWORD(defaultId);
    HWND first = FirstPushButton(dialog);
    return first != nullptr ? GetDlgCtrlID(first) : 0;
}

DialogAutomation::DialogAutomation(const HostOptions& options) : options_(options), previous_(ActiveAutomation)
{
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    ActiveAutomation = this;
}

DialogAutomation::~DialogAutomation()
{
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
    ActiveAutomation = previous_;
}

void DialogAutomation::BeginRun(HostReport* report)
{
    report_ = report;
    open_.clear();
    selector_ = -1;
    if (hook_ == nullptr)
        report_->problems.push_back("the dialog hook could not be installed: dialogs are not answered");
}

void DialogAutomation::EndRun()
{
    for (const Tracked& tracked : open_)
        report_->dialogs[tracked.index].closed = !IsWindow(tracked.window);
    open_.clear();
    report_ = &scratch_;
}

bool DialogAutomation::IsTracked(HWND window) const
{
    for (const Tracked& tracked : open_)
        if (tracked.window == window)
            return true;
    return false;
}

std::vector<std::string> DialogAutomation::OpenDialogs() const
{
    std::vector<std::string> captions;
    for (const Tracked& tracked : open_)
        if (IsWindow(tracked.window) && IsWindowVisible(tracked.window))
            captions.push_back(WindowText(tracked.window));
    return captions;
}

void DialogAutomation::Record(HWND window, bool answer)
{
    DialogRecord dialog;
    dialog.caption = WindowText(window);
    dialog.duringSelector = selector_;
    EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&dialog.controls));
    HWND messageText = MessageBoxText(window);
    dialog.messageBox = messageText != nullptr;
    if (dialog.messageBox) {
        dialog.text = WindowText(messageText);
    } else {
        for (const DialogControl& control : dialog.controls) {
            if (_stricmp(control.className.c_str(), "Static") != 0 || control.text.empty())
                continue;
            dialog.text += (dialog.text.empty() ? "" : "\n") + control.text;
        }
    }

    int button = AnsweringButton(window);
    if (!answer) {
        dialog.action = "seen after the call";
    } else if (!options_.quitOnDialog.empty() && dialog.caption == options_.quitOnDialog) {
        dialog.action = "host quit";
        PostQuitMessage(options_.quitExitCode);
    } else if (button == 0) {
        dialog.action = "none (no button)";
    } else if (options_.dialogs == DialogMode::LeaveForPerson) {
        dialog.action = "left open";
    } else {
        dialog.action = button == IDOK ? "pressed OK" : "pressed button " + std::to_string(button);
        if (options_.dialogs == DialogMode::PauseForScreenshot) {
            std::printf("dialog on screen: \"%s\" (pressing it in %d ms)\n", dialog.caption.c_str(),
                        options_.screenshotPauseMs);
            std::fflush(stdout);
            UINT_PTR timer = SetTimer(nullptr, 0, UINT(options_.screenshotPauseMs), PressLater);
            if (timer != 0)
                PendingPresses()[timer] = window;
            else
                Press(window, button);
        } else {
            Press(window, button);
        }
    }
    open_.push_back(Tracked{window, report_->dialogs.size()});
    report_->dialogs.push_back(dialog);
}

void DialogAutomation::Forget(HWND window)
{
    for (size_t i = 0; i < open_.size(); ++i) {
        if (open_[i].window != window)
            continue;
        report_->dialogs[open_[i].index].closed = true;
        open_.erase(open_.begin() + long(i));
        return;
    }
}

void CALLBACK DialogAutomation::PressLater(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    auto found = PendingPresses().find(timer);
    if (found == PendingPresses().end())
        return;
    HWND dialog = found->second;
    PendingPresses().erase(found);
    if (IsWindow(dialog)) {
        int button = AnsweringButton(dialog);
        if (button != 0)
            Press(dialog, button);
    }
}

LRESULT CALLBACK DialogAutomation::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    DialogAutomation* self = ActiveAutomation;
    if (self != nullptr && code >= 0) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && IsDialogWindow(window) && !self->IsTracked(window))
            self->Record(window, true);
        else if (code == HCBT_DESTROYWND)
            self->Forget(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK DialogAutomation::SweepOne(HWND window, LPARAM param)
{
    auto* self = reinterpret_cast<DialogAutomation*>(param);
    if (IsWindowVisible(window) && IsDialogWindow(window) && !self->IsTracked(window))
        self->Record(window, false);
    return TRUE;
}

void DialogAutomation::SweepThreadWindows()
{
    EnumThreadWindows(GetCurrentThreadId(), SweepOne, reinterpret_cast<LPARAM>(this));
}
