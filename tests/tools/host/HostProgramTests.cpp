// ombrix-host.exe: the reference host as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TestModuleRun.h"
#include "host/HandOffRecord.h"
#include "support/ChildProcess.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace {

constexpr const char* HostProgram = "ombrix-host.exe";

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::vector<nlohmann::json> ReportLines(const std::string& path, const std::string& event)
{
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadFileBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        nlohmann::json object = nlohmann::json::parse(line);
        if (object.at("event") == event)
            lines.push_back(object);
    }
    return lines;
}

TEST(HostProgram, ImportRunsTheModuleAndWritesDocumentsAndReport)
{
    TempFolder folder;
    std::string report = folder.Inside("run.jsonl");
    long status = RunChild(HostProgram, "import " + Quoted(TestModulePath()) + " --out " +
                                            Quoted(folder.Inside("documents")) + " --report " + Quoted(report) +
                                            " --env \"OMBRIX_TEST_MODULE=images=2;width=3;height=2\"");
    ASSERT_EQ(status, 0);
    std::vector<nlohmann::json> documents = ReportLines(report, "document");
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[1].at("complete"), true);
    EXPECT_TRUE(PathExists(folder.Inside("documents\\01-image-1.tif")));
    EXPECT_TRUE(PathExists(folder.Inside("documents\\02-image-2.png")));
}

TEST(HostProgram, SwitchesChangeWhatTheModuleIsOffered)
{
    TempFolder folder;
    std::string report = folder.Inside("run.jsonl");
    ASSERT_EQ(RunChild(HostProgram, "import " + Quoted(TestModulePath()) + " --report " + Quoted(report) +
                                        " --no-advance-state"),
              0);
    std::vector<nlohmann::json> calls = ReportLines(report, "call");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2].at("name"), "continue");
    EXPECT_EQ(calls[2].at("result"), ResultHostInsufficient);
}

TEST(HostProgram, AboutCallsSelectorZero)
{
    TempFolder folder;
    std::string report = folder.Inside("about.jsonl");
    ASSERT_EQ(RunChild(HostProgram, "about " + Quoted(TestModulePath()) + " --report " + Quoted(report)), 0);
    std::vector<nlohmann::json> calls = ReportLines(report, "call");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].at("selector"), 0);
    EXPECT_EQ(ReportLines(report, "dialog").at(0).at("caption"), "About Test Module");
}

TEST(HostProgram, ModuleItCannotUseEndsWithStatusTwo)
{
    EXPECT_EQ(RunChild(HostProgram, "import " + Quoted(BesideProgram("TestModuleWrongKind.8ba"))), 2);
}

TEST(HostProgram, UnknownSwitchIsRefused)
{
    long status = RunChild(HostProgram, "import " + Quoted(TestModulePath()) + " --no-such-switch");
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1) << "it ends at once";
}

TEST(HostProgram, UnquotedFileArgumentsAreAHandOffToo)
{
    TempFolder folder;
    ASSERT_EQ(RunChild(HostProgram, "C:\\photos\\x.dng", {{HandOffReportDirVariable, folder.Path()}}), 0);
    std::vector<HandOffRecord> records = ReadHandOffRecords(folder.Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].paths, (std::vector<std::string>{"C:\\photos\\x.dng"}));
}

}  // namespace
