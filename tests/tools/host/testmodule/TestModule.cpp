// An import module that does what the reference host's tests ask of it,
// through the environment variable OMBRIX_TEST_MODULE ("key=value;..."),
// read at Prepare and About. Keys (defaults in Config below):
//   images width height depth planes stripRows planar rowPadding describedRowBytes returnStrips
//   prepareResult startFailAt startError continueFailAt continueError
//   wantFinalize leakBuffer leakHandles profileBytes messageBox (caption|text)
//   progressDialog notice advanceInStart ignoreAdvanceErrors handOff (path|path, launched by Finalize)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hostapi/HostApi.h"
#include "testmodule/TestPattern.h"

namespace {

struct Config {
    int images = 1;
    int width = 4;
    int height = 3;
    int depth = 8;
    int planes = 3;
    int stripRows = 1;
    bool planar = false;     // one plane per strip
    int rowPadding = 0;      // bytes after each row
    int describedRowBytes = 0;  // rowBytes the record claims; 0: the true one
    bool returnStrips = false;  // strips handed back from Continue instead of advanceState
    int prepareResult = 0;
    int startFailAt = 0;     // 1-based image whose Start fails
    int startError = -128;
    int continueFailAt = 0;  // 1-based image whose Continue fails after its first strip
    int continueError = -1234;
    bool wantFinalize = true;
    bool leakBuffer = false;
    int leakHandles = 0;
    int profileBytes = 0;
    std::string messageBox;  // caption|text, shown in Prepare
    bool progressDialog = false;
    bool notice = false;
    bool advanceInStart = false;
    bool ignoreAdvanceErrors = false;
    std::string handOff;     // path|path
};

HINSTANCE Instance = nullptr;
Config Settings;
int CurrentImage = 0;   // 0-based
int ReturnedRow = 0;    // next row in returnStrips mode
std::vector<char> ReturnedStrip;
HWND ProgressWindow = nullptr;
HWND NoticeWindow = nullptr;

INT_PTR CALLBACK ProgressProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

INT_PTR CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        DestroyWindow(window);
        NoticeWindow = nullptr;
        return TRUE;
    }
    return FALSE;
}

std::string Utf8(const wchar_t* text, int length)
{
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::wstring Wide(const std::string& text)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

// Read wide, kept as UTF-8: a hand-off path may hold any character.
Config ReadConfig()
{
    Config config;
    wchar_t text[4096] = L"";
    DWORD length = GetEnvironmentVariableW(L"OMBRIX_TEST_MODULE", text, 4096);
    std::string all = Utf8(text, length < 4096 ? int(length) : 0);
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find(';', at);
        if (end == std::string::npos)
            end = all.size();
        std::string item = all.substr(at, end - at);
        at = end + 1;
        size_t equals = item.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = item.substr(0, equals);
        std::string value = item.substr(equals + 1);
        int number = std::atoi(value.c_str());
        if (key == "images") config.images = number;
        else if (key == "width") config.width = number;
        else if (key == "height") config.height = number;
        else if (key == "depth") config.depth = number;
        else if (key == "planes") config.planes = number;
        else if (key == "stripRows") config.stripRows = number;
        else if (key == "planar") config.planar = number != 0;
        else if (key == "rowPadding") config.rowPadding = number;
        else if (key == "describedRowBytes") config.describedRowBytes = number;
        else if (key == "returnStrips") config.returnStrips = number != 0;
        else if (key == "prepareResult") config.prepareResult = number;
        else if (key == "startFailAt") config.startFailAt = number;
        else if (key == "startError") config.startError = number;
        else if (key == "continueFailAt") config.continueFailAt = number;
        else if (key == "continueError") config.continueError = number;
        else if (key == "wantFinalize") config.wantFinalize = number != 0;
        else if (key == "leakBuffer") config.leakBuffer = number != 0;
        else if (key == "leakHandles") config.leakHandles = number;
        else if (key == "profileBytes") config.profileBytes = number;
        else if (key == "messageBox") config.messageBox = value;
        else if (key == "progressDialog") config.progressDialog = number != 0;
        else if (key == "notice") config.notice = number != 0;
        else if (key == "advanceInStart") config.advanceInStart = number != 0;
        else if (key == "ignoreAdvanceErrors") config.ignoreAdvanceErrors = number != 0;
        else if (key == "handOff") config.handOff = value;
    }
    return config;
}

int BytesPerSample()
{
    return Settings.depth == 16 ? 2 : 1;
}

int32_t RowBytes()
{
    int samples = Settings.planar ? 1 : Settings.planes;
    return Settings.width * samples * BytesPerSample() + Settings.rowPadding;
}

void PutSample(char* at, uint32_t value)
{
    at[0] = char(value & 0xFF);
    if (Settings.depth == 16)
        at[1] = char(value >> 8);
}

// Fills rows top..bottom-1 of plane range lo..hi into buffer and describes
// them in the record.
void FillStrip(AcquireRecord* record, char* buffer, int top, int bottom, int lo, int hi)
{
    const int bytes = BytesPerSample();
    const int colBytes = (hi - lo + 1) * bytes;
    for (int y = top; y < bottom; ++y) {
        char* row = buffer + (y - top) * RowBytes();
        for (int x = 0; x < Settings.width; ++x)
            for (int plane = lo; plane <= hi; ++plane)
                PutSample(row + x * colBytes + (plane - lo) * bytes,
                          TestSample(CurrentImage, x, y, plane, Settings.depth));
    }
    record->data = buffer;
    record->theRect = Rect{int16_t(top), 0, int16_t(bottom), int16_t(Settings.width)};
    record->loPlane = int16_t(lo);
    record->hiPlane = int16_t(hi);
    record->colBytes = int16_t(colBytes);
    record->rowBytes = Settings.describedRowBytes != 0 ? Settings.describedRowBytes : RowBytes();
    record->planeBytes = bytes;
}

void EndImage(AcquireRecord* record)
{
    record->data = nullptr;
    record->theRect = Rect{0, 0, 0, 0};
}

int16_t ContinueThroughAdvanceState(AcquireRecord* record)
{
    if (record->advanceState == nullptr || record->bufferProcs == nullptr)
        return ResultHostInsufficient;
    BufferID buffer = nullptr;
    int32_t size = RowBytes() * Settings.stripRows;
    OSErr status = record->bufferProcs->allocateProc(size, &buffer);
    if (status != 0)
        return status;
    char* bytes = record->bufferProcs->lockProc(buffer, 0);
    int16_t result = 0;
    int strips = 0;
    for (int top = 0; top < Settings.height && result == 0; top += Settings.stripRows) {
        int bottom = top + Settings.stripRows < Settings.height ? top + Settings.stripRows : Settings.height;
        for (int y = top; y < bottom && result == 0; ++y) {
            if (record->abortProc())
                result = -128;
            else
                record->progressProc(y, Settings.height);
        }
        // Planar: one strip per plane; otherwise one strip of every plane.
        int passes = Settings.planar ? Settings.planes : 1;
        for (int pass = 0; pass < passes && result == 0; ++pass) {
            if (Settings.planar)
                FillStrip(record, bytes, top, bottom, pass, pass);
            else
                FillStrip(record, bytes, top, bottom, 0, Settings.planes - 1);
            result = record->advanceState();
            record->data = nullptr;
            if (Settings.ignoreAdvanceErrors)
                result = 0;
        }
        if (++strips == 1 && Settings.continueFailAt == CurrentImage + 1 && result == 0)
            result = int16_t(Settings.continueError);
    }
    EndImage(record);
    if (!Settings.leakBuffer)
        record->bufferProcs->freeProc(buffer);
    return result;
}

int16_t ContinueByReturning(AcquireRecord* record)
{
    if (ReturnedRow >= Settings.height) {
        EndImage(record);
        return 0;
    }
    int top = ReturnedRow;
    int bottom = top + Settings.stripRows < Settings.height ? top + Settings.stripRows : Settings.height;
    ReturnedStrip.assign(size_t(RowBytes() * (bottom - top)), 0);
    FillStrip(record, ReturnedStrip.data(), top, bottom, 0, Settings.planes - 1);
    ReturnedRow = bottom;
    return 0;
}

void Prepare(AcquireRecord* record, intptr_t* data, int16_t* result)
{
    Settings = ReadConfig();
    CurrentImage = 0;
    record->maxData = 0;
    record->acquireAgain = 0;
    record->wantFinalize = Settings.wantFinalize ? 1 : 0;
    if (*data == 0)
        *data = reinterpret_cast<intptr_t>(record->handleProcs->newProc(16));
    for (int i = 0; i < Settings.leakHandles; ++i)
        record->handleProcs->newProc(8 + i);
    if (!Settings.messageBox.empty()) {
        size_t bar = Settings.messageBox.find('|');
        std::string caption = Settings.messageBox.substr(0, bar);
        std::string text = bar == std::string::npos ? std::string() : Settings.messageBox.substr(bar + 1);
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
    }
    HWND owner = reinterpret_cast<HWND>(record->platformData->hwnd);
    if (Settings.progressDialog && ProgressWindow == nullptr) {
        ProgressWindow = CreateDialogParamA(Instance, "TESTPROGRESS", owner, ProgressProc, 0);
        ShowWindow(ProgressWindow, SW_SHOWNORMAL);
    }
    if (Settings.notice && NoticeWindow == nullptr) {
        NoticeWindow = CreateDialogParamA(Instance, "TESTNOTICE", owner, NoticeProc, 0);
        ShowWindow(NoticeWindow, SW_SHOWNORMAL);
    }
    *result = int16_t(Settings.prepareResult);
}

void Start(AcquireRecord* record, int16_t* result)
{
    if (Settings.startFailAt == CurrentImage + 1) {
        *result = int16_t(Settings.startError);
        return;
    }
    char name[32];
    int length = snprintf(name, sizeof name, "image-%d.tif", CurrentImage + 1);
    record->filename[0] = uint8_t(length);
    std::memcpy(record->filename + 1, name, size_t(length));
    record->imageMode = Settings.planes == 1 ? 1 : ImageModeRGB;
    record->imageSize = Point{int16_t(Settings.height), int16_t(Settings.width)};
    record->depth = int16_t(Settings.depth);
    record->planes = int16_t(Settings.planes);
    record->imageHRes = 72 << 16;
    record->imageVRes = 72 << 16;
    if (Settings.profileBytes > 0 && record->canUseICCProfiles != 0) {
        Handle profile = record->handleProcs->newProc(Settings.profileBytes);
        char* bytes = record->handleProcs->lockProc(profile, 0);
        for (int i = 0; i < Settings.profileBytes; ++i)
            bytes[i] = char(TestProfileByte(i));
        record->handleProcs->unlockProc(profile);
        record->iCCprofileData = profile;
        record->iCCprofileSize = Settings.profileBytes;
    }
    if (Settings.advanceInStart)
        record->advanceState();
    ReturnedRow = 0;
    record->data = nullptr;
}

void Finish(AcquireRecord* record)
{
    ++CurrentImage;
    record->acquireAgain = CurrentImage < Settings.images ? 1 : 0;
}

void Finalize()
{
    if (ProgressWindow != nullptr)
        DestroyWindow(ProgressWindow);
    ProgressWindow = nullptr;
    if (NoticeWindow != nullptr && IsWindow(NoticeWindow))
        DestroyWindow(NoticeWindow);
    NoticeWindow = nullptr;
    if (Settings.handOff.empty())
        return;
    // As a module hands files over: the host's own file name, then each path
    // quoted and followed by a blank; wide, as the module does it.
    std::wstring host(32768, L'\0');
    DWORD hostLength = GetModuleFileNameW(nullptr, host.data(), DWORD(host.size()));
    if (hostLength == 0 || hostLength >= host.size())
        return;
    host.resize(hostLength);
    size_t slash = host.rfind(L'\\');
    std::wstring name = slash == std::wstring::npos ? host : host.substr(slash + 1);
    std::string commandLine = Utf8(name.c_str(), int(name.size()));
    commandLine += ' ';
    size_t at = 0;
    while (at <= Settings.handOff.size()) {
        size_t bar = Settings.handOff.find('|', at);
        if (bar == std::string::npos)
            bar = Settings.handOff.size();
        commandLine += '"';
        commandLine += Settings.handOff.substr(at, bar - at);
        commandLine += "\" ";
        at = bar + 1;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = Wide(commandLine);
    if (CreateProcessW(host.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Instance = instance;
    return TRUE;
}

extern "C" void __cdecl ENTRYPOINT(int16_t selector, void* block, intptr_t* data, int16_t* result)
{
    if (selector == SelectorAbout) {
        auto* about = static_cast<AboutRecord*>(block);
        MessageBoxA(reinterpret_cast<HWND>(about->platformData->hwnd), "A module for the host's own tests.",
                    "About Test Module", MB_OK);
        return;
    }
    auto* record = static_cast<AcquireRecord*>(block);
    switch (selector) {
    case SelectorPrepare: Prepare(record, data, result); break;
    case SelectorStart: Start(record, result); break;
    case SelectorContinue:
        *result = Settings.returnStrips ? ContinueByReturning(record) : ContinueThroughAdvanceState(record);
        break;
    case SelectorFinish: Finish(record); break;
    case SelectorFinalize: Finalize(); break;
    default: *result = ResultBadParameters; break;
    }
}
