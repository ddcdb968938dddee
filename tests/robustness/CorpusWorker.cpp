#include "robustness/CorpusHarness.h"

#include <windows.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "selectors/Handlers.h"
#include "selectors/ModuleState.h"
#include "fakehost/FakeAcquireHost.h"
#include "support/RuntimeHeap.h"
#include "support/TransferHost.h"

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int WindowsOfThisThread()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Nobody else holds it: the module closed the file.
bool FileClosed(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// A fault inside the decoder ends this process; the supervisor reads the
// line, counts the file as a crash and starts a new worker after it.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    std::printf("CRASH exception 0x%08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                info->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

void ReportAbort(int)
{
    std::printf("CRASH abort\n");
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
}

Outcome Classify(int16_t start, int16_t cont, const std::vector<std::string>& texts)
{
    if (start == 0 && cont == 0 && texts.empty())
        return Outcome::Document;
    if (texts.size() == 1 && texts[0] == ModuleMessageText(3))
        return Outcome::Message3;
    if (texts.size() == 1 && texts[0] == ModuleMessageText(4))
        return Outcome::Message4;
    return Outcome::Other;
}

// What one cycle showed, kept in fixed storage: the heap is measured around
// the cycle, and nothing of the harness's own may stay allocated across it.
struct CycleFacts {
    int16_t start = 0;
    int16_t cont = 0;
    int boxes = 0;
    Outcome outcome = Outcome::Other;
    char firstBox[64] = "";
    int liveBuffers = 0;
    int liveHandles = 0;
    bool bitmapHeld = false;
    bool differs = false;
};

// The harness's own check of itself: OMBRIX_HARNESS_INJECT="crash=3,hang=5,leak=7"
// makes the worker fault, stall or leak at those files, as a decoder might.
bool InjectedAt(const char* fault, size_t index)
{
    const std::string wanted = std::string(fault) + "=" + std::to_string(index);
    for (std::string rest = EnvironmentVariable("OMBRIX_HARNESS_INJECT"); !rest.empty();) {
        const size_t comma = rest.find(',');
        if (rest.substr(0, comma) == wanted)
            return true;
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    }
    return false;
}

void RunCycle(const std::string& folder, const CorpusEntry& entry, CycleFacts& facts)
{
    if (InjectedAt("crash", entry.index))
        *static_cast<volatile int*>(nullptr) = 1;
    if (InjectedAt("hang", entry.index))
        Sleep(INFINITE);
    [[maybe_unused]] static void* volatile leaked = nullptr;  // the self-check's planted leak
    if (InjectedAt("leak", entry.index))
        leaked = std::malloc(1000);
    TransferHost host;
    host.SetCurrentFile(folder, entry.name);
    std::vector<std::string> texts;
    {
        DialogWatcher boxes;
        facts.start = host.Start();
        if (facts.start == 0)
            facts.cont = host.Continue();
        texts = MessageTexts(boxes);
    }
    AcquireRecord* record = host.Record();
    if (facts.start == 0) {
        if (record->iCCprofileData != nullptr)  // the document's now: the host disposes of it
            record->handleProcs->disposeProc(record->iCCprofileData);
        MoreEntries = false;
        CallAcquireHandler(FinishHandler, record);
    }
    facts.outcome = Classify(facts.start, facts.cont, texts);
    facts.boxes = int(texts.size());
    if (!texts.empty())
        lstrcpynA(facts.firstBox, texts[0].c_str(), sizeof(facts.firstBox));
    facts.liveBuffers = host.Buffers().LiveBuffers();
    facts.liveHandles = host.Handles().LiveHandles();
    facts.bitmapHeld = CurrentBitmap != nullptr;
    if (facts.outcome == Outcome::Document && entry.reference != "-") {
        const HostImage expected = ReadPpm(InFolder(folder, entry.reference));
        facts.differs = expected.bytes.empty() || expected.width != host.received.width ||
                        expected.height != host.received.height || expected.bytes != host.received.bytes;
    }
}

}  // namespace

// One Start/Continue/Finish cycle on one file, as the host runs it.
FileResult ImportOnce(const std::string& folder, const CorpusEntry& entry)
{
    const std::string path = InFolder(folder, entry.name);
    CycleFacts facts;
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const auto started = std::chrono::steady_clock::now();
    const size_t heapBefore = RuntimeHeapInUse();
    RunCycle(folder, entry, facts);
    const size_t heapAfter = RuntimeHeapInUse();

    FileResult result;
    result.milliseconds =
        long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count());
    result.outcome = facts.outcome;
    result.differs = facts.differs;
    result.detail = "start " + std::to_string(facts.start) + ", continue " + std::to_string(facts.cont) + ", " +
                    std::to_string(facts.boxes) + " boxes";
    if (facts.boxes > 0)
        result.detail += std::string(", \"") + facts.firstBox + "\"";
    if (facts.liveBuffers != 0)
        result.leaks.push_back(std::to_string(facts.liveBuffers) + " strip buffers");
    if (facts.liveHandles != 0)
        result.leaks.push_back(std::to_string(facts.liveHandles) + " host handles");
    if (facts.bitmapHeld)
        result.leaks.push_back("the bitmap");
    if (heapAfter > heapBefore)
        result.leaks.push_back(std::to_string(heapAfter - heapBefore) + " heap bytes");
    if (!FileClosed(path))
        result.leaks.push_back("the file open");
    if (WindowsOfThisThread() != 0)
        result.leaks.push_back("windows open");
    // Wine answers 0 for both; on Windows they count the objects themselves.
    if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) > gdiBefore)
        result.leaks.push_back("GDI objects");
    if (GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) > userBefore)
        result.leaks.push_back("USER objects");
    return result;
}

int RunWorker(const std::string& folder, size_t first)
{
    SetUnhandledExceptionFilter(ReportCrash);
    std::signal(SIGABRT, ReportAbort);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const std::vector<CorpusEntry> entries = ReadManifest(folder);
    for (size_t i = first; i < entries.size(); ++i) {
        std::printf("BEGIN %u\n", unsigned(i));
        std::fflush(stdout);
        FileResult result = ImportOnce(folder, entries[i]);
        // What the decoder sets up once (its tag tables) stays after the
        // first file that needs it; a leak stays again after the second.
        if (!result.leaks.empty() && !ImportOnce(folder, entries[i]).leaks.empty())
            result.detail += " (again on a second import)";
        else
            result.leaks.clear();
        std::printf("END %u %s\n", unsigned(i), EncodeResult(result).c_str());
        std::fflush(stdout);
    }
    return 0;
}
