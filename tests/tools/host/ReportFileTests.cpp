// The run's report as a file: one JSON object per line.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "TestModuleRun.h"
#include "host/ReportWriter.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

namespace {

std::vector<nlohmann::json> Lines(const std::string& text)
{
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(nlohmann::json::parse(line));
    return lines;
}

std::vector<nlohmann::json> Events(const std::vector<nlohmann::json>& lines, const std::string& event)
{
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& line : lines)
        if (line.at("event") == event)
            found.push_back(line);
    return found;
}

TEST(ReportFile, EveryCallDocumentAndDialogHasItsLine)
{
    TempFolder folder;
    HostOptions options;
    options.reportPath = folder.Inside("run.jsonl");
    HostReport report =
        ImportWithTestModule("images=2;width=3;height=2;profileBytes=10;messageBox=Box|Text;leakBuffer=1", options);

    std::vector<nlohmann::json> lines = Lines(ReadFileBytes(options.reportPath));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front().at("event"), "run");
    EXPECT_EQ(lines.front().at("pipl").at("name"), "Test Module");
    EXPECT_EQ(lines.back().at("event"), "summary");

    std::vector<nlohmann::json> calls = Events(lines, "call");
    ASSERT_EQ(calls.size(), report.calls.size());
    EXPECT_EQ(calls[0].at("name"), "prepare");
    EXPECT_EQ(calls[3].at("acquireAgain"), true);

    std::vector<nlohmann::json> documents = Events(lines, "document");
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[1].at("filename"), "image-2.tif");
    EXPECT_EQ(documents[1].at("width"), 3);
    EXPECT_EQ(documents[1].at("stripCount"), 2);
    EXPECT_EQ(documents[1].at("profileBytes"), 10);
    EXPECT_EQ(documents[1].at("hRes"), "0x00480000");
    EXPECT_EQ(documents[1].at("checksum"), report.documents[1].checksum);

    std::vector<nlohmann::json> dialogs = Events(lines, "dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].at("caption"), "Box");
    EXPECT_EQ(dialogs[0].at("during"), "prepare");

    EXPECT_EQ(Events(lines, "leak").size(), 2u) << "one buffer left behind by each image";
    EXPECT_EQ(lines.back().at("completeDocuments"), 2);
}

TEST(ReportFile, ModuleTextsBecomeUtf8)
{
    HostReport report;
    DialogRecord dialog;
    dialog.caption = "R\xE9sultat";  // the system's code page
    report.dialogs.push_back(dialog);
    std::vector<nlohmann::json> lines = Lines(ReportAsJsonLines(report));
    EXPECT_EQ(Events(lines, "dialog").at(0).at("caption"), "R\xC3\xA9sultat");
}

TEST(ReportFile, LongStripListsAreSummedUp)
{
    HostReport report;
    DocumentRecord document;
    document.strips.resize(100);
    document.strips[99].rect = Rect{99, 0, 100, 8};
    report.documents.push_back(document);
    nlohmann::json line = Events(Lines(ReportAsJsonLines(report)), "document").at(0);
    EXPECT_EQ(line.at("stripCount"), 100);
    ASSERT_EQ(line.at("strips").size(), 5u) << "the first four and the last";
    EXPECT_EQ(line.at("strips")[4].at("rect")[0], 99);
}

TEST(ReportFile, UnwritableReportIsAProblemOfTheRun)
{
    HostOptions options;
    options.reportPath = "Q:\\no\\such\\folder\\run.jsonl";
    HostReport report = ImportWithTestModule("", options);
    ASSERT_FALSE(report.problems.empty());
    EXPECT_NE(report.problems.back().find("cannot be written"), std::string::npos);
}

}  // namespace
