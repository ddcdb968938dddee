#include "converter/ConverterWatchFixture.h"

#include <fstream>
#include <sstream>

#include "selectors/ModuleState.h"
#include "support/TestSupport.h"

namespace {

// Message boxes are answered; the progress dialog (no buttons) is left alone.
void AnswerMessageBoxes(const WatchedWindow& window)
{
    if (window.caption == "Ombrix")
        AnswerDialog(window.window, DialogAnswer::PressOk);
}

std::string Variable(const char* name)
{
    char value[4096];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

}  // namespace

ConverterWatchTest::ConverterWatchTest() : watcher(AnswerMessageBoxes, 60000)
{
    ModuleInstance = GetModuleHandleA(nullptr);
    ConverterPath[0] = '\0';
    ConverterProcess = PROCESS_INFORMATION{};
    ConverterState = ConverterRunning;
    SavedFocus = nullptr;
    CleanupDone = false;
    DialogGlobals = nullptr;
    HostPlatformData = nullptr;

    platform.hwnd = reinterpret_cast<intptr_t>(host.handle());
    recordBytes.assign(NewestAcquireRecordSize, 0);
    record = reinterpret_cast<AcquireRecord*>(recordBytes.data());
    record->platformData = &platform;
    globals.result = &result;
    globals.record = record;

    recordFile = scratch.Inside("converter-record.json");
    releaseFile = scratch.Inside("release");
    SetVariable("OMBRIX_CONVERTER_RECORD", recordFile);
    SetVariable("OMBRIX_CONVERTER_PARENT", scratch.MakeFolder("exports"));
    SetVariable("OMBRIX_CONVERTER_VALUE", "nothing");
}

ConverterWatchTest::~ConverterWatchTest()
{
    // Let a stand-in still waiting go, and never leave a process behind.
    std::ofstream(releaseFile) << "go";
    if (ConverterProcess.hProcess != nullptr) {
        WaitForSingleObject(ConverterProcess.hProcess, 10000);
        CloseHandle(ConverterProcess.hProcess);
        CloseHandle(ConverterProcess.hThread);
        ConverterProcess = PROCESS_INFORMATION{};
    }
    if (globals.progressDialog != nullptr && IsWindow(globals.progressDialog))
        DestroyWindow(globals.progressDialog);
    for (auto& [name, value] : savedVariables_)
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

void ConverterWatchTest::RegisterStandIn()
{
    RegisterCommand(BesideProgram("ombrix-converter.exe") + " \"%1\"");
}

void ConverterWatchTest::RegisterCommand(const std::string& command)
{
    SetText(HKEY_CLASSES_ROOT, TestCommandKey, "", command);
}

void ConverterWatchTest::SetVariable(const char* name, const std::string& value)
{
    if (savedVariables_.count(name) == 0)
        savedVariables_[name] = Variable(name);
    SetEnvironmentVariableA(name, value.c_str());
}

std::string ConverterWatchTest::RecordedField(const char* field) const
{
    std::ifstream in(recordFile, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    // One flat JSON object; the fields asked for hold no escaped quotes.
    std::string key = std::string("\"") + field + "\":";
    std::string all = text.str();
    size_t at = all.find(key);
    if (at == std::string::npos)
        return "";
    at += key.size();
    while (at < all.size() && all[at] == ' ')
        ++at;
    if (at < all.size() && all[at] == '"') {
        size_t end = all.find('"', at + 1);
        return all.substr(at + 1, end - at - 1);
    }
    size_t end = all.find_first_of(",}", at);
    return all.substr(at, end - at);
}

std::vector<std::string> ConverterWatchTest::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const WatchedWindow& window : watcher.Windows())
        if (window.caption == "Ombrix")
            texts.push_back(window.MessageText());
    return texts;
}

bool ConverterWatchTest::TimerAlive() const
{
    // Setting the timer again would hide its absence: only a kill tells.
    return KillTimer(globals.progressDialog, 1) != FALSE;
}
