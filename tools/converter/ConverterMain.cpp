// ombrix-converter.exe: a stand-in for the RAW converter, as much of it as
// the import module relies on.
//   ombrix-converter --register     register as the converter (HKCR open command)
//   ombrix-converter --unregister   remove that registration
//   ombrix-converter -embedding     export the scenario's images into a fresh
//                                   folder, write it into "Plugin Output Folder", exit
//   ombrix-converter --write-late FOLDER   (left behind by -embedding) write the
//                                   scenario's late files into FOLDER
#include <windows.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "common/TempFolder.h"
#include "common/WideFiles.h"
#include "common/WideText.h"
#include "converter/ConverterExport.h"
#include "converter/ConverterScenario.h"
#include "converter/StandInRegistry.h"

namespace {

bool LoadScenario(ConverterScenario* scenario, std::string* error)
{
    std::string file = EnvironmentVariable(ScenarioFileVariable);
    if (!file.empty()) {
        std::string text;
        if (!ReadFileData(file, &text)) {
            *error = "cannot read the scenario " + file;
            return false;
        }
        if (!ParseScenario(text, scenario, error)) {
            *error = file + ": " + *error;
            return false;
        }
    }
    return ApplyScenarioVariables(EnvironmentVariable, scenario, error);
}

// What a test wants to know of this run; written when the run starts and
// again when it ends.
void WriteRecord(const ConverterScenario& scenario, const char* phase, const std::string& folder,
                 const std::string& problem)
{
    if (scenario.recordFile.empty())
        return;
    nlohmann::json record = {
        {"phase", phase},
        {"commandLine", WideToUtf8(GetCommandLineW())},
        {"modulePath", OwnProgramPath()},
        {"currentDirectory", CurrentFolder()},
        {"processId", GetCurrentProcessId()},
        // A 64-bit module may start a 32-bit converter: tests tell which ran.
        {"pointerBits", 8 * sizeof(void*)},
        {"exportFolder", folder},
        {"problem", problem},
    };
    WriteFileData(scenario.recordFile, record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

void WaitForFile(const ConverterScenario& scenario)
{
    DWORD start = GetTickCount();
    while (!PathExists(scenario.waitForFile) && GetTickCount() - start < DWORD(scenario.waitTimeoutMs))
        Sleep(50);
}

// The late writer: a copy of this program that outlives it, told the folder.
void LeaveLateWriter(const ConverterScenario& scenario, const std::string& folder)
{
    if (scenario.lateFiles.empty())
        return;
    std::wstring command = Utf8ToWide("\"" + OwnProgramPath() + "\" --write-late \"" + folder + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "ombrix-converter: cannot leave the late writer: error %lu\n", GetLastError());
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

int WriteLate(const std::string& folder)
{
    ConverterScenario scenario;
    std::string problem;
    if (!LoadScenario(&scenario, &problem)) {
        std::fprintf(stderr, "ombrix-converter: %s\n", problem.c_str());
        return 3;
    }
    scenario.waitForFile = scenario.lateAfter;
    if (!scenario.waitForFile.empty())
        WaitForFile(scenario);
    const bool written = ExportFiles(folder, scenario.lateFiles, &problem);
    if (!written)
        std::fprintf(stderr, "ombrix-converter: %s\n", problem.c_str());
    if (!scenario.lateDone.empty())
        WriteFileData(scenario.lateDone, written ? "written\n" : problem + "\n");
    return written ? 0 : 3;
}

int RunEmbedded()
{
    ConverterScenario scenario;
    std::string problem;
    if (!LoadScenario(&scenario, &problem)) {
        std::fprintf(stderr, "ombrix-converter: %s\n", problem.c_str());
        WriteRecord(scenario, "failed", "", problem);
        return 3;
    }
    WriteRecord(scenario, "running", "", "");

    std::string folder;
    if (!MakeFreshFolder(scenario.outputParent, &folder, &problem) ||
        !ExportFiles(folder, scenario.files, &problem)) {
        std::fprintf(stderr, "ombrix-converter: %s\n", problem.c_str());
        WriteRecord(scenario, "failed", folder, problem);
        return 3;
    }
    if (!scenario.waitForFile.empty())
        WaitForFile(scenario);
    if (scenario.delayMs > 0)
        Sleep(DWORD(scenario.delayMs));

    LONG status = ERROR_SUCCESS;
    switch (scenario.value) {
    case OutputValue::Folder: status = WriteOutputFolderValue(folder); break;
    case OutputValue::Empty: status = WriteOutputFolderValue(""); break;
    case OutputValue::Given: status = WriteOutputFolderValue(scenario.givenValue); break;
    case OutputValue::Nothing: break;
    }
    if (status != ERROR_SUCCESS)
        problem = "cannot write \"Plugin Output Folder\": error " + std::to_string(status);
    if (scenario.lingerMs > 0)
        Sleep(DWORD(scenario.lingerMs));
    WriteRecord(scenario, "done", folder, problem);
    LeaveLateWriter(scenario, folder);
    return status == ERROR_SUCCESS ? scenario.exitCode : 3;
}

}  // namespace

int main()
{
    std::vector<std::string> arguments = ProgramArguments();
    std::string command = arguments.size() > 1 ? arguments[1] : std::string();
    if (command == "--register") {
        LONG status = RegisterStandIn(OwnProgramPath());
        if (status != ERROR_SUCCESS) {
            std::fprintf(stderr, "ombrix-converter: cannot register: error %ld\n", status);
            return 1;
        }
        std::printf("registered: %s\n", OpenCommandFor(OwnProgramPath()).c_str());
        return 0;
    }
    if (command == "--unregister")
        return UnregisterStandIn() == ERROR_SUCCESS ? 0 : 1;
    if (command == "--write-late" && arguments.size() > 2)
        return WriteLate(arguments[2]);
    if (_stricmp(command.c_str(), "-embedding") == 0 || _stricmp(command.c_str(), "/embedding") == 0)
        return RunEmbedded();
    std::fprintf(stderr,
                 "usage: ombrix-converter --register | --unregister | -embedding\n"
                 "  -embedding exports the images of the scenario named by %s\n",
                 ScenarioFileVariable);
    return 2;
}
