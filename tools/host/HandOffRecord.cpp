#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "host/HandOffRecord.h"

#include <windows.h>

#include <nlohmann/json.hpp>

#include "common/WideFiles.h"
#include "common/WideText.h"
#include "host/HandOffCommandLine.h"

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

}  // namespace

std::string HandOffReportFolder()
{
    std::string folder = EnvironmentVariable(HandOffReportDirVariable);
    if (!folder.empty())
        return folder;
    return WithSlash(TemporaryFolder()) + "ombrix-host-handoff";
}

std::string RecordThisHandOff()
{
    std::string commandLine = WideToUtf8(GetCommandLineW());
    std::string program = OwnProgramPath();
    nlohmann::json record = {
        {"event", "handoff"},
        {"commandLine", commandLine},
        {"paths", SplitArguments(ArgumentText(commandLine, program))},
        {"program", program},
        {"processId", GetCurrentProcessId()},
        {"currentDirectory", CurrentFolder()},
    };
    std::string folder = HandOffReportFolder();
    CreateDirectoryW(WidePath(folder).c_str(), nullptr);
    std::string name = WithSlash(folder) + "handoff-" + std::to_string(GetCurrentProcessId()) + ".json";
    // Whole or not at all: a waiting reader never sees half a record.
    return WriteFileData(name, record.dump() + "\n") ? name : std::string();
}

std::vector<HandOffRecord> ReadHandOffRecords(const std::string& folder)
{
    std::vector<HandOffRecord> records;
    for (const std::string& entry : FolderEntries(folder)) {
        if (entry.rfind("handoff-", 0) != 0 || entry.size() < 13 || entry.compare(entry.size() - 5, 5, ".json") != 0)
            continue;
        std::string file = WithSlash(folder) + entry;
        std::string text;
        if (!ReadFileData(file, &text))
            continue;
        nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
        if (json.is_discarded() || !json.is_object())
            continue;
        HandOffRecord record;
        record.commandLine = json.value("commandLine", "");
        record.paths = json.value("paths", std::vector<std::string>());
        record.program = json.value("program", "");
        record.processId = json.value("processId", 0ul);
        record.currentDirectory = json.value("currentDirectory", "");
        record.file = file;
        records.push_back(record);
    }
    // FolderEntries gives them sorted by name.
    return records;
}

std::vector<HandOffRecord> WaitForHandOffRecords(const std::string& folder, size_t count, int timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HandOffRecord> records = ReadHandOffRecords(folder);
        if (records.size() >= count || GetTickCount() - start >= DWORD(timeoutMs))
            return records;
        Sleep(50);
    }
}
