#include "converter/ConverterScenario.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

const char* ValueName(OutputValue value)
{
    switch (value) {
    case OutputValue::Nothing: return "nothing";
    case OutputValue::Empty: return "empty";
    case OutputValue::Given: return "given";
    default: return "folder";
    }
}

bool ValueFromName(const std::string& name, OutputValue* value)
{
    if (name == "folder") *value = OutputValue::Folder;
    else if (name == "nothing") *value = OutputValue::Nothing;
    else if (name == "empty") *value = OutputValue::Empty;
    else if (name == "given") *value = OutputValue::Given;
    else return false;
    return true;
}

bool ParseNumber(const std::string& text, int* number)
{
    size_t used = 0;
    try {
        *number = std::stoi(text, &used);
    } catch (...) {
        return false;
    }
    return used == text.size();
}

}  // namespace

std::string ScenarioToJson(const ConverterScenario& scenario)
{
    json files = json::array();
    for (const ExportEntry& entry : scenario.files)
        files.push_back({{"source", entry.source}, {"name", entry.name}, {"folder", entry.folder},
                         {"hidden", entry.hidden}, {"readOnly", entry.readOnly}});
    json lateFiles = json::array();
    for (const ExportEntry& entry : scenario.lateFiles)
        lateFiles.push_back({{"source", entry.source}, {"name", entry.name}});
    return json{
        {"files", files},
        {"lateFiles", lateFiles},
        {"lateAfter", scenario.lateAfter},
        {"lateDone", scenario.lateDone},
        {"outputParent", scenario.outputParent},
        {"value", ValueName(scenario.value)},
        {"givenValue", scenario.givenValue},
        {"delayMs", scenario.delayMs},
        {"lingerMs", scenario.lingerMs},
        {"exitCode", scenario.exitCode},
        {"recordFile", scenario.recordFile},
        {"waitForFile", scenario.waitForFile},
        {"waitTimeoutMs", scenario.waitTimeoutMs},
    }.dump(2);
}

bool ParseScenario(const std::string& text, ConverterScenario* scenario, std::string* error)
{
    try {
        json object = json::parse(text);
        ConverterScenario parsed;
        for (const json& file : object.value("files", json::array())) {
            ExportEntry entry;
            entry.source = file.value("source", "");
            entry.name = file.value("name", "");
            entry.folder = file.value("folder", false);
            entry.hidden = file.value("hidden", false);
            entry.readOnly = file.value("readOnly", false);
            if (entry.name.empty()) {
                size_t slash = entry.source.find_last_of("\\/");
                entry.name = slash == std::string::npos ? entry.source : entry.source.substr(slash + 1);
            }
            parsed.files.push_back(entry);
        }
        parsed.outputParent = object.value("outputParent", "");
        if (!ValueFromName(object.value("value", "folder"), &parsed.value)) {
            *error = "\"value\" must be folder, nothing, empty or given";
            return false;
        }
        parsed.givenValue = object.value("givenValue", "");
        parsed.delayMs = object.value("delayMs", 0);
        parsed.lingerMs = object.value("lingerMs", 0);
        parsed.exitCode = object.value("exitCode", 0);
        parsed.recordFile = object.value("recordFile", "");
        parsed.waitForFile = object.value("waitForFile", "");
        parsed.waitTimeoutMs = object.value("waitTimeoutMs", parsed.waitTimeoutMs);
        for (const json& file : object.value("lateFiles", json::array()))
            parsed.lateFiles.push_back({file.value("source", ""), file.value("name", "")});
        parsed.lateAfter = object.value("lateAfter", "");
        parsed.lateDone = object.value("lateDone", "");
        *scenario = parsed;
        return true;
    } catch (const json::exception& problem) {
        *error = problem.what();
        return false;
    }
}

bool ParseOutputValue(const std::string& text, ConverterScenario* scenario)
{
    const std::string given = "given:";
    if (text.compare(0, given.size(), given) == 0) {
        scenario->value = OutputValue::Given;
        scenario->givenValue = text.substr(given.size());
        return true;
    }
    return ValueFromName(text, &scenario->value) && scenario->value != OutputValue::Given;
}

bool ParseExportList(const std::string& text, std::vector<ExportEntry>* files)
{
    std::vector<ExportEntry> parsed;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(';', at);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr(at, end - at);
        at = end + 1;
        if (item.empty())
            continue;
        ExportEntry entry;
        size_t arrow = item.find('>');
        entry.source = item.substr(0, arrow);
        if (arrow != std::string::npos) {
            entry.name = item.substr(arrow + 1);
        } else {
            size_t slash = entry.source.find_last_of("\\/");
            entry.name = slash == std::string::npos ? entry.source : entry.source.substr(slash + 1);
        }
        if (entry.source.empty() || entry.name.empty())
            return false;
        parsed.push_back(entry);
    }
    *files = parsed;
    return true;
}

bool ApplyScenarioVariables(const std::function<std::string(const char*)>& lookup, ConverterScenario* scenario,
                            std::string* error)
{
    std::string text;
    if (!(text = lookup("OMBRIX_CONVERTER_FILES")).empty() && !ParseExportList(text, &scenario->files)) {
        *error = "OMBRIX_CONVERTER_FILES is malformed: " + text;
        return false;
    }
    if (!(text = lookup("OMBRIX_CONVERTER_VALUE")).empty() && !ParseOutputValue(text, scenario)) {
        *error = "OMBRIX_CONVERTER_VALUE must be folder, nothing, empty or given:PATH, not " + text;
        return false;
    }
    const std::pair<const char*, int*> numbers[] = {
        {"OMBRIX_CONVERTER_DELAY_MS", &scenario->delayMs},
        {"OMBRIX_CONVERTER_LINGER_MS", &scenario->lingerMs},
        {"OMBRIX_CONVERTER_EXIT_CODE", &scenario->exitCode},
    };
    for (const auto& [name, target] : numbers) {
        text = lookup(name);
        if (!text.empty() && !ParseNumber(text, target)) {
            *error = std::string(name) + " is not a number: " + text;
            return false;
        }
    }
    if (!(text = lookup("OMBRIX_CONVERTER_RECORD")).empty())
        scenario->recordFile = text;
    if (!(text = lookup("OMBRIX_CONVERTER_WAIT_FOR")).empty())
        scenario->waitForFile = text;
    if (!(text = lookup("OMBRIX_CONVERTER_PARENT")).empty())
        scenario->outputParent = text;
    return true;
}
