// Whole import runs of the real module through the reference host, with the
// converter stand-in exporting a chosen layout.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "converter/ConverterScenario.h"
#include "host/HandOffRecord.h"
#include "host/ReferenceHost.h"
#include "support/HostProgramAway.h"
#include "support/RegistryTestKeys.h"
#include "common/TempFolder.h"

class ImportRunTest : public RegistryTest {
protected:
    ImportRunTest();
    ~ImportRunTest() override;

    // Sample files to export: a decodable JPEG and TIFF, and a "DNG" (the
    // module never opens one).
    ExportEntry Jpeg(const std::string& name) const { return {jpegSource, name}; }
    ExportEntry Tiff(const std::string& name) const { return {tiffSource, name}; }
    ExportEntry Dng(const std::string& name) const { return {dngSource, name}; }
    ExportEntry Folder(const std::string& name) const { return {"", name, true}; }

    // Registers program as the converter (the file class's open command);
    // the stand-in beside this program until a test registers another.
    void RegisterConverter(const std::string& program);

    // What the converter does at its next run.
    void Export(const std::vector<ExportEntry>& files);
    void ExportNothingButWrite(OutputValue value, const std::string& given = "");

    HostReport Run();  // one import; the module stays loaded between runs
    ReferenceHost& Host();
    HostOptions RunOptions() const;  // what Host() gives its host
    void UnloadModule() { host_.reset(); }  // the next Host() loads it afresh

    // The folder the converter exported into at the last run.
    std::string ExportFolder() const;
    std::vector<std::string> ExportFolders() const;
    // Waits for the hand-off instances the module started.
    std::vector<HandOffRecord> HandOffs(size_t expected) const;
    // The command line a hand-off of these files must carry.
    static std::string HandOffCommandLine(const std::vector<std::string>& paths);

    std::vector<std::string> MessageTexts(const HostReport& report) const;
    std::vector<std::string> CleanupRecords() const;

    TempFolder scratch{"ombrix-run"};
    std::string exports;
    std::string handOffFolder;
    ConverterScenario scenario;

private:
    std::string scenarioFile_;
    std::vector<std::string> foldersBeforeRun_;
    std::string jpegSource;
    std::string tiffSource;
    std::string dngSource;
    std::unique_ptr<ReferenceHost> host_;
};

// The names of the complete documents of a run, in order.
std::vector<std::string> Filenames(const HostReport& report);
// Every path the hand-offs carried, sorted.
std::vector<std::string> HandedPaths(const std::vector<HandOffRecord>& handOffs);
// folder\name for each name, sorted.
std::vector<std::string> PathsIn(const std::string& folder, std::vector<std::string> names);

// The calls of a run as "name=result", with "+again" after a Finish that asked
// for another cycle.
std::vector<std::string> CallTrace(const HostReport& report);
