// What the converter stand-in does when a module starts it with
// "-embedding": which images it exports, what it writes into the registry,
// and how it misbehaves. Read from the JSON file named by
// OMBRIX_CONVERTER_SCENARIO and from single environment variables, which win
// (the module passes the host's environment on to the converter):
//   OMBRIX_CONVERTER_FILES      source[>name];...  files to export
//   OMBRIX_CONVERTER_VALUE      folder | nothing | empty | given:PATH
//   OMBRIX_CONVERTER_DELAY_MS   before the value is written
//   OMBRIX_CONVERTER_LINGER_MS  after the value is written, before the exit
//   OMBRIX_CONVERTER_EXIT_CODE
//   OMBRIX_CONVERTER_RECORD     file that receives the stand-in's command line
//   OMBRIX_CONVERTER_WAIT_FOR   keep running until this file exists
//   OMBRIX_CONVERTER_PARENT     folder in which the fresh export folder is made
#pragma once

#include <functional>
#include <string>
#include <vector>

constexpr const char* ScenarioFileVariable = "OMBRIX_CONVERTER_SCENARIO";

struct ExportEntry {
    std::string source;      // file to copy; unused for a folder
    std::string name;        // name in the export folder; may hold subfolders (a\b.jpg)
    bool folder = false;     // make a subfolder of that name instead
    bool hidden = false;
    bool readOnly = false;
};

enum class OutputValue {
    Folder,   // the export folder's path, as the real converter does
    Nothing,  // leave the value as the module set it
    Empty,    // an empty string
    Given,    // givenValue, whatever it is
};

struct ConverterScenario {
    std::vector<ExportEntry> files;
    std::string outputParent;  // empty: the user's temporary folder
    OutputValue value = OutputValue::Folder;
    std::string givenValue;
    int delayMs = 0;
    int lingerMs = 0;
    int exitCode = 0;
    std::string recordFile;
    std::string waitForFile;
    int waitTimeoutMs = 120000;  // the stand-in never outlives a forgotten test
    // Written into the export folder by a detached process the stand-in
    // leaves behind, as a converter's export queue does after its exit: once
    // lateAfter exists (at most waitTimeoutMs), then lateDone is made.
    std::vector<ExportEntry> lateFiles;
    std::string lateAfter;
    std::string lateDone;
};

// JSON text of a scenario, and back. ParseScenario returns false with *error
// on malformed text.
std::string ScenarioToJson(const ConverterScenario& scenario);
bool ParseScenario(const std::string& json, ConverterScenario* scenario, std::string* error);

// Applies the single variables above to scenario; lookup returns a
// variable's value, empty when it is not set.
bool ApplyScenarioVariables(const std::function<std::string(const char*)>& lookup, ConverterScenario* scenario,
                            std::string* error);
