#include "common/Environment.h"
#include "common/ProgramFolder.h"
#include "host/HandOffRecord.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/AnsiText.h"
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
    char temp[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof temp, temp);
    return WithSlash(std::string(temp, length < sizeof temp ? length : 0)) + "ombrix-host-handoff";
}

std::string RecordThisHandOff()
{
    std::string commandLine = GetCommandLineA();
    std::string program = OwnProgramPath();
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);

    std::vector<std::string> paths;
    for (const std::string& path : SplitArguments(ArgumentText(commandLine, program)))
        paths.push_back(AnsiToUtf8(path));
    nlohmann::json record = {
        {"event", "handoff"},
        {"commandLine", AnsiToUtf8(commandLine)},
        {"paths", paths},
        {"program", AnsiToUtf8(program)},
        {"processId", GetCurrentProcessId()},
        {"currentDirectory", AnsiToUtf8(directory)},
    };
    std::string folder = HandOffReportFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string name = WithSlash(folder) + "handoff-" + std::to_string(GetCurrentProcessId());
    {
        std::ofstream out(name + ".tmp", std::ios::binary | std::ios::trunc);
        out << record.dump() << "\n";
        if (!out)
            return std::string();
    }
    // Whole or not at all: a waiting reader never sees half a record.
    if (!MoveFileExA((name + ".tmp").c_str(), (name + ".json").c_str(), MOVEFILE_REPLACE_EXISTING))
        return std::string();
    return name + ".json";
}

std::vector<HandOffRecord> ReadHandOffRecords(const std::string& folder)
{
    std::vector<HandOffRecord> records;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((WithSlash(folder) + "handoff-*.json").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return records;
    do {
        std::string file = WithSlash(folder) + entry.cFileName;
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        nlohmann::json json = nlohmann::json::parse(text.str(), nullptr, false);
        if (json.is_discarded() || !json.is_object())
            continue;
        HandOffRecord record;
        record.commandLine = Utf8ToAnsi(json.value("commandLine", ""));
        for (const std::string& path : json.value("paths", std::vector<std::string>()))
            record.paths.push_back(Utf8ToAnsi(path));
        record.program = Utf8ToAnsi(json.value("program", ""));
        record.processId = json.value("processId", 0ul);
        record.currentDirectory = Utf8ToAnsi(json.value("currentDirectory", ""));
        record.file = file;
        records.push_back(record);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(records.begin(), records.end(),
              [](const HandOffRecord& a, const HandOffRecord& b) { return a.file < b.file; });
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
