// Answers the module's dialogs and message boxes so that nothing waits for a
// person: a thread CBT hook sees each dialog as it is activated, records its
// caption and texts, and presses its OK (or default) button. Dialogs without
// any button, such as a progress dialog, are only recorded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/HostOptions.h"
#include "host/HostReport.h"

class DialogAutomation {
public:
    // Installs the hook on the calling thread, which must be the one that
    // calls the module.
    explicit DialogAutomation(const HostOptions& options);
    ~DialogAutomation();
    DialogAutomation(const DialogAutomation&) = delete;
    DialogAutomation& operator=(const DialogAutomation&) = delete;

    void BeginRun(HostReport* report);
    void EndRun();
    void SetSelector(int16_t selector) { selector_ = selector; }

    // Captions of the dialogs seen that are still on screen.
    std::vector<std::string> OpenDialogs() const;
    // Records visible dialogs of the thread that the hook has not seen.
    void SweepThreadWindows();

private:
    struct Tracked {
        HWND window;
        size_t index;  // into report_->dialogs
    };

    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static BOOL CALLBACK SweepOne(HWND window, LPARAM param);
    static void CALLBACK PressLater(HWND, UINT, UINT_PTR timer, DWORD);

    bool IsTracked(HWND window) const;
    void Record(HWND window, bool answer);
    void Forget(HWND window);

    const HostOptions& options_;
    HHOOK hook_ = nullptr;
    DialogAutomation* previous_ = nullptr;
    HostReport scratch_;
    HostReport* report_ = &scratch_;
    int16_t selector_ = -1;
    std::vector<Tracked> open_;
};

// The id of the button that answers the dialog (IDOK, else its default
// button, else its first push button); 0 when it has none.
int AnsweringButton(HWND dialog);
