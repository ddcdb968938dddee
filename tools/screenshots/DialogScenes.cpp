// Shows one of the module's dialogs over a stand-in host window and holds it
// still for a screenshot.
//
//   dialog_scenes READY_FILE SCENE
//     SCENE: about | warning | progress | message N
//
// Once the dialog is up, its window rectangle ("x y width height") is written
// to READY_FILE; the scene ends when that file has been deleted (the picture
// is taken) or after 30 seconds.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/CenterDialog.h"
#include "ui/Messages.h"
#include "ui/HostWarnings.h"
#include "ui/AboutBox.h"
#include "selectors/ModuleState.h"

namespace {

constexpr UINT SettleMs = 1500;
constexpr UINT PollMs = 200;
constexpr DWORD LongestSceneMs = 30000;

std::string readyFile;
HWND sceneDialog = nullptr;
DWORD sceneStart = 0;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        sceneDialog = window;
        return FALSE;
    }
    return TRUE;
}

void EndScene()
{
    // The progress dialog has no button: it goes with the loop that holds it.
    if (GetDlgItem(sceneDialog, IDOK) != nullptr)
        PostMessageA(sceneDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    else
        PostQuitMessage(0);
}

void CALLBACK WaitForPicture(HWND, UINT, UINT_PTR id, DWORD)
{
    if (GetFileAttributesA(readyFile.c_str()) != INVALID_FILE_ATTRIBUTES &&
        GetTickCount() - sceneStart < LongestSceneMs)
        return;
    KillTimer(nullptr, id);
    EndScene();
}

void CALLBACK AnnounceDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, 0);
    RECT r{};
    if (sceneDialog != nullptr)
        GetWindowRect(sceneDialog, &r);
    std::string line = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                       std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n";
    HANDLE file = CreateFileA(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    SetTimer(nullptr, 0, PollMs, WaitForPicture);
}

INT_PTR CALLBACK ProgressSceneProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CenterDialog(dialog);
        return TRUE;
    }
    return FALSE;
}

HWND MakeHostWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "SceneHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(0, "SceneHost", "Image editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 32, 24, 960, 720,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(host);
    return host;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < 3)
        return 2;
    readyFile = __argv[1];
    std::string scene = __argv[2];
    ModuleInstance = instance;
    sceneStart = GetTickCount();

    HWND host = MakeHostWindow();
    SetTimer(nullptr, 0, SettleMs, AnnounceDialog);

    if (scene == "about") {
        PlatformData platform{reinterpret_cast<intptr_t>(host)};
        AboutRecord record{};
        record.platformData = &platform;
        ShowAboutBox(&record);
    } else if (scene == "warning") {
        CheckAdvanceState(nullptr, instance);
    } else if (scene == "message" && __argc > 3) {
        ShowMessage(int16_t(std::atoi(__argv[3])));
    } else if (scene == "progress") {
        HWND dialog = CreateDialogParamA(instance, "UIPARAM", host, ProgressSceneProc, 0);
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        DestroyWindow(dialog);
    } else {
        return 2;
    }
    DestroyWindow(host);
    return 0;
}
