#include "selectors/ImportRunFixture.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

#include "common/ProgramFolder.h"
#include "support/TestImages.h"
#include "common/WideText.h"

ImportRunTest::ImportRunTest()
{
    RegisterConverter(BesideProgram("ombrix-converter.exe"));
    exports = scratch.MakeFolder("exports");
    handOffFolder = scratch.MakeFolder("handoff");
    scenarioFile_ = scratch.Inside("scenario.json");

    std::string sources = scratch.MakeFolder("sources");
    jpegSource = sources + "\\sample.jpg";
    tiffSource = sources + "\\sample.tif";
    dngSource = scratch.MakeFile("sources\\sample.dng", "raw data");
    FreeImage_Initialise(TRUE);
    SaveAndUnload(MakeRgb24(12, 8), FIF_JPEG, jpegSource, JPEG_QUALITYSUPERB);
    SaveAndUnload(MakeRgb48(12, 8), FIF_TIFF, tiffSource);

    scenario.outputParent = exports;
    Export({});
}

ImportRunTest::~ImportRunTest()
{
    host_.reset();
    FreeImage_DeInitialise();
}

void ImportRunTest::RegisterConverter(const std::string& program)
{
    SetWideText(HKEY_CLASSES_ROOT, TestCommandKey, "", program + " \"%1\"");
}

void ImportRunTest::Export(const std::vector<ExportEntry>& files)
{
    scenario.files = files;
    std::ofstream(scenarioFile_, std::ios::binary | std::ios::trunc) << ScenarioToJson(scenario);
}

void ImportRunTest::ExportNothingButWrite(OutputValue value, const std::string& given)
{
    scenario.value = value;
    scenario.givenValue = given;
    Export({});
}

HostOptions ImportRunTest::RunOptions() const
{
    HostOptions options;
    options.outputFolder = handOffFolder;
    options.environment["OMBRIX_CONVERTER_SCENARIO"] = scenarioFile_;
    return options;
}

ReferenceHost& ImportRunTest::Host()
{
    if (!host_) {
        host_ = std::make_unique<ReferenceHost>(RunOptions());
        EXPECT_TRUE(host_->Load(BesideProgram("OmbrixImport.8ba"))) << host_->LoadError();
    }
    return *host_;
}

HostReport ImportRunTest::Run()
{
    foldersBeforeRun_ = ExportFolders();
    HostReport report = Host().Import();
    EXPECT_TRUE(report.leaks.empty()) << "buffers or handles left behind";
    EXPECT_TRUE(report.problems.empty()) << (report.problems.empty() ? "" : report.problems.front());
    return report;
}

std::vector<std::string> ImportRunTest::ExportFolders() const
{
    std::vector<std::string> folders;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Utf8ToWide("\\\\?\\" + exports + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return folders;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && entry.cFileName[0] != L'.')
            folders.push_back(InFolder(exports, WideToUtf8(entry.cFileName)));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return folders;
}

// Earlier runs' folders stay until a cleanup takes them, and a listing's
// order says nothing about their age: the last run's folder is the one
// that was not there before it.
std::string ImportRunTest::ExportFolder() const
{
    std::string found;
    for (const std::string& folder : ExportFolders())
        if (std::find(foldersBeforeRun_.begin(), foldersBeforeRun_.end(), folder) == foldersBeforeRun_.end())
            found = folder;
    return found;
}

std::vector<HandOffRecord> ImportRunTest::HandOffs(size_t expected) const
{
    auto records = WaitForHandOffRecords(handOffFolder, expected, 20000);
    // A hand-off that should not happen gets a moment to show up anyway.
    if (records.size() == expected)
        Sleep(300), records = ReadHandOffRecords(handOffFolder);
    return records;
}

std::string ImportRunTest::HandOffCommandLine(const std::vector<std::string>& paths)
{
    wchar_t program[1024] = L"";
    GetModuleFileNameW(nullptr, program, 1024);
    std::string line = WideToUtf8(program);
    line = line.substr(line.find_last_of('\\') + 1) + " ";
    for (const std::string& path : paths)
        line += "\"" + path + "\" ";
    return line;
}

std::vector<std::string> ImportRunTest::MessageTexts(const HostReport& report) const
{
    std::vector<std::string> texts;
    for (const DialogRecord& dialog : report.dialogs)
        if (dialog.caption == "Ombrix")
            texts.push_back(dialog.text);
    return texts;
}

std::vector<std::string> ImportRunTest::CleanupRecords() const
{
    std::vector<std::string> folders;
    for (const char* key : {TestCleanupKey, TestUnicodeCleanupKey}) {
        for (const std::string& name : ValueNames(HKEY_CURRENT_USER, key)) {
            auto value = GetWideText(HKEY_CURRENT_USER, key, name.c_str());
            if (value)
                folders.push_back(*value);
        }
    }
    return folders;
}

std::vector<std::string> CallTrace(const HostReport& report)
{
    std::vector<std::string> trace;
    for (const CallRecord& call : report.calls) {
        std::string entry = call.name + "=" + std::to_string(call.result);
        if (call.selector == SelectorFinish && call.acquireAgain)
            entry += "+again";
        trace.push_back(entry);
    }
    return trace;
}

std::vector<std::string> Filenames(const HostReport& report)
{
    std::vector<std::string> names;
    for (const DocumentRecord& document : report.documents)
        if (document.complete)
            names.push_back(document.filename);
    return names;
}

std::vector<std::string> HandedPaths(const std::vector<HandOffRecord>& handOffs)
{
    std::vector<std::string> handed;
    for (const HandOffRecord& record : handOffs)
        handed.insert(handed.end(), record.paths.begin(), record.paths.end());
    std::sort(handed.begin(), handed.end());
    return handed;
}

std::vector<std::string> PathsIn(const std::string& folder, std::vector<std::string> names)
{
    for (std::string& name : names)
        name = InFolder(folder, name);
    std::sort(names.begin(), names.end());
    return names;
}
