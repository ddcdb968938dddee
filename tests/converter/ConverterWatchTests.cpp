// The converter watch seen from the host: the progress dialog, the launch of
// the converter, the wait for its exit, and the host window held back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "converter/ConverterWatch.h"
#include "converter/RegistryState.h"
#include "converter/ConverterWatchFixture.h"
#include "selectors/ModuleState.h"
#include "common/ProgramFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

const char NotFoundText[] = "The application Ombrix cannot be found on your computer!";
const char LaunchFailedText[] = "Unable to launch Ombrix !\nA reinstallation can correct the problem.";

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void (*pendingAction)() = nullptr;

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (auto action = pendingAction) {
        pendingAction = nullptr;
        action();
    }
}

// Runs action once, after delayMs, from the thread's own message loop.
void After(UINT delayMs, void (*action)())
{
    pendingAction = action;
    SetTimer(nullptr, 0, delayMs, RunPendingAction);
}

int hostTicks = 0;

void CALLBACK CountHostTick(HWND, UINT, UINT_PTR, DWORD)
{
    hostTicks++;
}

TEST_F(ConverterWatchTest, ConverterThatExitsAtOnceIsSeenAtTheSecondTick)
{
    RegisterStandIn();
    ASSERT_TRUE(BeginConversion(&globals));
    HWND dialog = globals.progressDialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), host.handle());
    char caption[64] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Ombrix Import Plugin ");

    auto start = Clock::now();
    EXPECT_TRUE(WaitForConverter(&globals));
    double waited = SecondsSince(start);
    // Launched at the first tick (0.5 s), exit seen at the second (1 s); a
    // loaded machine may be slower, never faster.
    EXPECT_GE(waited, 0.9);
    EXPECT_LT(waited, 30.0);
    EXPECT_EQ(ConverterState, ConverterExited);
    EXPECT_EQ(ConverterProcess.hProcess, nullptr) << "handles closed once the exit is seen";
    EXPECT_FALSE(TimerAlive());
    EXPECT_TRUE(MessageTexts().empty());

    EXPECT_EQ(RecordedField("commandLine"), "ombrix-converter.exe -embedding");
    EXPECT_EQ(RecordedField("phase"), "done");

    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays while the folder is scanned";
    CloseProgressDialog(&globals);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(globals.progressDialog, nullptr);
    CloseProgressDialog(&globals);  // nothing left to close
}

TEST_F(ConverterWatchTest, ConverterExitingWithTheStillRunningCodeIsSeenToHaveExited)
{
    RegisterStandIn();
    SetVariable("OMBRIX_CONVERTER_EXIT_CODE", "259");
    ASSERT_TRUE(BeginConversion(&globals));
    EXPECT_TRUE(WaitForConverter(&globals));
    EXPECT_EQ(ConverterState, ConverterExited);
    EXPECT_EQ(RecordedField("phase"), "done");
}

TEST_F(ConverterWatchTest, HostKeepsAnsweringWhileTheConverterRuns)
{
    RegisterStandIn();
    SetVariable("OMBRIX_CONVERTER_DELAY_MS", "2000");
    ASSERT_TRUE(BeginConversion(&globals));

    hostTicks = 0;
    SetTimer(host.handle(), 77, 100, CountHostTick);
    std::atomic<int> answered{0};
    std::thread caller([&] {
        for (int i = 0; i < 5; ++i) {
            DWORD_PTR reply = 0;
            if (SendMessageTimeoutA(host.handle(), WM_NULL, 0, 0, SMTO_BLOCK, 2000, &reply) != 0)
                answered++;
            Sleep(200);
        }
    });
    EXPECT_TRUE(WaitForConverter(&globals));
    caller.join();
    KillTimer(host.handle(), 77);

    EXPECT_GE(hostTicks, 10) << "the host's own timer kept firing during the wait";
    EXPECT_EQ(answered.load(), 5) << "the host window answered messages sent from another thread";
}

TEST_F(ConverterWatchTest, MissingCommandGivesMessageOneAndNoDialog)
{
    CreateKey(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\shell\\open");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder", "C:\\earlier");

    EXPECT_FALSE(BeginConversion(&globals));
    EXPECT_EQ(globals.progressDialog, nullptr);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{NotFoundText});
    EXPECT_FALSE(CleanupDone);
    auto value = GetValue(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->bytes, std::string("C:\\earlier", 11)) << "nothing else is done after message 1";
}

TEST_F(ConverterWatchTest, UnusableConverterPathsGiveMessageTwoAndStopTheTimer)
{
    struct Case {
        const char* what;
        bool registerClass;
        std::string command;
    } cases[] = {
        {"no class key: empty path", false, ""},
        // Appended to, not prefixed: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
        {"quoted path", true, std::string("\"").append(BesideProgram("ombrix-converter.exe")) + "\" \"%1\""},
        {"file name too long for the launch", true,
         scratch.Inside(std::string(60, 'n') + ".exe") + " \"%1\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.registerClass)
            RegisterCommand(c.command);
        ConverterPath[0] = '\0';
        size_t shownBefore = MessageTexts().size();

        ASSERT_TRUE(BeginConversion(&globals));
        EXPECT_FALSE(WaitForConverter(&globals));
        EXPECT_EQ(ConverterState, ConverterLaunchFailed);
        EXPECT_EQ(ConverterProcess.hProcess, nullptr);
        EXPECT_FALSE(TimerAlive()) << "killed before the message was shown";
        auto texts = MessageTexts();
        ASSERT_EQ(texts.size(), shownBefore + 1);
        EXPECT_EQ(texts.back(), LaunchFailedText);
        CloseProgressDialog(&globals);
    }
}

// The quit message ends the wait without the converter's exit: the module
// lets go of that converter, and the next import starts its own.
TEST_F(ConverterWatchTest, QuitMessageEndsTheWaitAndTheNextImportStartsANewConverter)
{
    RegisterStandIn();
    SetVariable("OMBRIX_CONVERTER_WAIT_FOR", releaseFile);
    ASSERT_TRUE(BeginConversion(&globals));
    After(1500, [] { PostQuitMessage(7); });
    EXPECT_FALSE(WaitForConverter(&globals));
    EXPECT_EQ(ConverterState, ConverterRunning);
    EXPECT_EQ(ConverterProcess.hProcess, nullptr) << "the handles were released";
    EXPECT_EQ(ConverterProcess.hThread, nullptr);
    EXPECT_FALSE(TimerAlive());
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the host's loop must still see its quit";
    EXPECT_EQ(quit.wParam, 7u);
    CloseProgressDialog(&globals);
    const std::string firstId = RecordedField("processId");
    ASSERT_FALSE(firstId.empty());

    // Both converters wait for the release; it comes once the second has
    // told its process id.
    static decltype(this) test;
    static std::string first;
    static std::string second;
    static int polls;
    test = this;
    first = firstId;
    second.clear();
    polls = 0;
    static void (*releaseWhenSecondRuns)() = [] {
        std::string seen = test->RecordedField("processId");
        if ((seen.empty() || seen == first) && ++polls < 200)
            return After(100, releaseWhenSecondRuns);
        second = seen;
        std::ofstream(test->releaseFile) << "go";
    };
    ASSERT_TRUE(BeginConversion(&globals));
    After(100, releaseWhenSecondRuns);
    EXPECT_TRUE(WaitForConverter(&globals));
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, firstId) << "a converter of its own, not the one the quit left";
}

// Records the activation messages the host's window receives.
struct ActivationLog {
    static inline std::vector<std::pair<WPARAM, LPARAM>> seen;
    static inline WNDPROC original = nullptr;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ACTIVATE)
            seen.emplace_back(wParam, lParam);
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    static void Attach(HWND window)
    {
        seen.clear();
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    static bool TurnedBackTo(HWND dialog)
    {
        for (auto& [wParam, lParam] : seen)
            if (LOWORD(wParam) == WA_INACTIVE && reinterpret_cast<HWND>(lParam) == dialog)
                return true;
        return false;
    }
};

TEST_F(ConverterWatchTest, HostWindowCannotBeActivatedWhileTheConverterRuns)
{
    RegisterStandIn();
    SetVariable("OMBRIX_CONVERTER_WAIT_FOR", releaseFile);
    TestWindow other(300, 300, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "Other");
    ASSERT_TRUE(BeginConversion(&globals));
    HWND dialog = globals.progressDialog;
    ASSERT_EQ(GetActiveWindow(), dialog);
    ActivationLog::Attach(host.handle());

    static HWND hostWindow;
    static HWND otherWindow;
    static HWND activeAfterHost;
    static HWND activeAfterOther;
    static std::string release;
    hostWindow = host.handle();
    otherWindow = other.handle();
    release = releaseFile;
    activeAfterHost = activeAfterOther = nullptr;

    After(1200, [] {
        SetActiveWindow(hostWindow);
        After(600, [] {
            activeAfterHost = GetActiveWindow();
            SetActiveWindow(otherWindow);
            After(600, [] {
                activeAfterOther = GetActiveWindow();
                std::ofstream(release) << "go";
            });
        });
    });
    EXPECT_TRUE(WaitForConverter(&globals));

    EXPECT_TRUE(ActivationLog::TurnedBackTo(dialog)) << "the host was told it is being deactivated";
    EXPECT_EQ(activeAfterHost, dialog) << "the dialog keeps the activation";
    EXPECT_EQ(activeAfterOther, otherWindow) << "other windows are not turned back";
    EXPECT_EQ(SavedFocus, nullptr);

    // Once the converter has exited, the host may be activated again.
    ActivationLog::seen.clear();
    SetActiveWindow(host.handle());
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_FALSE(ActivationLog::TurnedBackTo(dialog));
    EXPECT_EQ(GetActiveWindow(), host.handle());
    SetWindowLongPtrA(host.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ActivationLog::original));
}

TEST_F(ConverterWatchTest, SecondBeginReusesTheOpenDialogButStillLooksUpAndResets)
{
    RegisterStandIn();
    ASSERT_TRUE(BeginConversion(&globals));
    HWND dialog = globals.progressDialog;

    RegisterCommand("C:\\Elsewhere\\Other.exe \"%1\"");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder", "C:\\earlier");
    ConverterState = ConverterExited;

    ASSERT_TRUE(BeginConversion(&globals));
    EXPECT_EQ(globals.progressDialog, dialog);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(ConverterPath, L"C:\\Elsewhere\\Other.exe");
    EXPECT_EQ(ConverterState, ConverterRunning);
    auto value = GetValue(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->bytes, "") << "reset to zero bytes";
}

// A dialog left open by one import serves the next: it must hold back that
// import's window, read through that import's record.
TEST_F(ConverterWatchTest, ReusedDialogHoldsBackTheWindowOfTheCurrentImport)
{
    RegisterStandIn();
    SetVariable("OMBRIX_CONVERTER_WAIT_FOR", releaseFile);
    ASSERT_TRUE(BeginConversion(&globals));
    HWND dialog = globals.progressDialog;
    platform.hwnd = 0;  // the first import's data is gone

    static TestWindow* secondHost;
    TestWindow window(150, 150, 600, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, "Second host");
    secondHost = &window;
    PlatformData secondPlatform{reinterpret_cast<intptr_t>(window.handle())};
    std::vector<char> secondBytes(NewestAcquireRecordSize, 0);
    auto* secondRecord = reinterpret_cast<AcquireRecord*>(secondBytes.data());
    secondRecord->platformData = &secondPlatform;
    PluginGlobals second = globals;
    second.record = secondRecord;
    ASSERT_TRUE(BeginConversion(&second));
    ASSERT_EQ(second.progressDialog, dialog);

    static HWND activeAfter;
    static std::string release;
    activeAfter = nullptr;
    release = releaseFile;
    After(1200, [] {
        SetActiveWindow(secondHost->handle());
        After(600, [] {
            activeAfter = GetActiveWindow();
            std::ofstream(release) << "go";
        });
    });
    EXPECT_TRUE(WaitForConverter(&second));
    EXPECT_EQ(activeAfter, dialog);
    CloseProgressDialog(&second);
    globals.progressDialog = nullptr;
}

TEST_F(ConverterWatchTest, DialogDestroyedBehindTheModulesBackIsMadeAnew)
{
    RegisterStandIn();
    ASSERT_TRUE(BeginConversion(&globals));
    DestroyWindow(globals.progressDialog);  // as its owner's destruction would
    ASSERT_TRUE(BeginConversion(&globals));
    EXPECT_TRUE(IsWindow(globals.progressDialog));
    EXPECT_TRUE(WaitForConverter(&globals)) << "the new dialog's ticks end the wait";
}

TEST_F(ConverterWatchTest, OldFoldersAreCleanedOncePerLoadAndNotAfterMessageOne)
{
    std::string first = scratch.MakeFolder("old-export-1");
    scratch.MakeFile("old-export-1\\a.jpg");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "0", first);

    CreateKey(HKEY_CLASSES_ROOT, "OmbrixProject.Document\\shell\\open");
    EXPECT_FALSE(BeginConversion(&globals));
    EXPECT_TRUE(FolderExists(first)) << "an attempt that ended with message 1 does not clean";

    RegisterStandIn();
    ASSERT_TRUE(BeginConversion(&globals));
    EXPECT_FALSE(FolderExists(first));
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).empty());
    EXPECT_TRUE(CleanupDone);

    std::string second = scratch.MakeFolder("old-export-2");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "0", second);
    ASSERT_TRUE(BeginConversion(&globals));
    EXPECT_TRUE(FolderExists(second)) << "the cleanup runs once per load";
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey), std::vector<std::string>{"0"});
}

}  // namespace
