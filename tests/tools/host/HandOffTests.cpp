// A host instance started with file arguments, as a module hands DNG files
// over, records its command line and exits.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestModuleRun.h"
#include "common/TempFolder.h"
#include "common/WideFiles.h"
#include "host/HandOffCommandLine.h"
#include "host/HandOffRecord.h"
#include "support/ChildProcess.h"
#include "support/FileContents.h"

namespace {

TEST(HandOffInstance, ModuleLaunchOfThisProgramIsRecordedInTheOutputFolder)
{
    TempFolder folder;
    HostOptions options;
    options.outputFolder = folder.Path();
    HostReport report = ImportWithTestModule("handOff=C:\\Photos\\a b.dng|D:\\c.dng", options);
    ASSERT_EQ(report.Selectors().back(), SelectorFinalize);

    std::vector<HandOffRecord> records = WaitForHandOffRecords(folder.Path(), 1, 30000);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine, "reference_host_tests.exe \"C:\\Photos\\a b.dng\" \"D:\\c.dng\" ");
    EXPECT_EQ(records[0].paths, (std::vector<std::string>{"C:\\Photos\\a b.dng", "D:\\c.dng"}));
    EXPECT_EQ(records[0].program, BesideProgram("reference_host_tests.exe"));
}

TEST(HandOffInstance, HostProgramRecordsFileArguments)
{
    TempFolder folder;
    EXPECT_EQ(RunChild("ombrix-host.exe", "\"C:\\x\\one.dng\" ", {{HandOffReportDirVariable, folder.Path()}}), 0);
    std::vector<HandOffRecord> records = ReadHandOffRecords(folder.Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine, "ombrix-host.exe \"C:\\x\\one.dng\" ");
    EXPECT_EQ(records[0].paths, (std::vector<std::string>{"C:\\x\\one.dng"}));
}

// Installed, loading a module and writing under folders the code page cannot
// hold, the host program is handed such paths (wide, by the module's
// CreateProcessW with the host's own GetModuleFileNameW) and records them.
TEST(HandOffInstance, HostOutsideTheCodePageRecordsAWideHandOffExactly)
{
    TempFolder folder;
    std::string installed = folder.MakeFolder("宿主 Łódź 📷");
    std::string host = InFolder(installed, "ombrix-host.exe");
    std::string module = InFolder(installed, "写真.8ba");
    ASSERT_TRUE(CopyFileTo(BesideProgram("ombrix-host.exe"), host));
    ASSERT_TRUE(CopyFileTo(TestModulePath(), module));
    std::string out = folder.Inside("文書 Łódź");
    std::string report = InFolder(folder.Path(), "run 📷.jsonl");
    const std::vector<std::string> dngs = {"C:\\写真\\Łódź.dng", "D:\\📷 rose.dng", "E:\\..＼victim＼raw.dng"};
    ASSERT_EQ(RunChild(ProgramPath{host}, "import \"" + module + "\" --out \"" + out + "\" --report \"" + report +
                                              "\" --env \"OMBRIX_TEST_MODULE=handOff=" + dngs[0] + "|" + dngs[1] +
                                              "|" + dngs[2] + "\""),
              0);
    std::string lines = ReadFileBytes(report);
    nlohmann::json run = nlohmann::json::parse(lines.substr(0, lines.find('\n')));
    EXPECT_EQ(run.at("module"), module);
    EXPECT_EQ(run.at("loaded"), true);
    EXPECT_TRUE(PathExists(InFolder(out, "01-image-1.tif")));

    std::vector<HandOffRecord> records = WaitForHandOffRecords(out, 1, 30000);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine,
              "ombrix-host.exe \"" + dngs[0] + "\" \"" + dngs[1] + "\" \"" + dngs[2] + "\" ");
    EXPECT_EQ(records[0].paths, dngs);
    EXPECT_EQ(records[0].program, host);
}

TEST(HandOffCommandLine, ProgramNameIsSkippedWhicheverWayItIsWritten)
{
    const std::string program = "C:\\Program Files\\Host\\my host.exe";
    EXPECT_EQ(ArgumentText("my host.exe \"a.dng\" ", program), "\"a.dng\" ");
    EXPECT_EQ(ArgumentText("C:\\Program Files\\Host\\my host.exe \"a.dng\"", program), "\"a.dng\"");
    EXPECT_EQ(ArgumentText("\"C:\\Program Files\\Host\\my host.exe\" \"a.dng\"", program), "\"a.dng\"");
    EXPECT_EQ(ArgumentText("other.exe x", program), "x");
    EXPECT_EQ(ArgumentText("MY HOST.EXE", program), "");
}

TEST(HandOffCommandLine, QuotedPathsAreTakenWholeAndUnquotedOnesUpToABlank)
{
    EXPECT_EQ(SplitArguments("\"C:\\a b\\c.dng\" \"D:\\\\d.dng\" "),
              (std::vector<std::string>{"C:\\a b\\c.dng", "D:\\\\d.dng"}));
    EXPECT_EQ(SplitArguments("  plain  \"quoted one\""), (std::vector<std::string>{"plain", "quoted one"}));
    EXPECT_EQ(SplitArguments("\"unterminated"), (std::vector<std::string>{"unterminated"}));
    EXPECT_TRUE(SplitArguments("   ").empty());
}

TEST(HandOffCommandLine, OnlyQuotedFileArgumentsMakeAHandOff)
{
    const std::string program = "Z:\\build\\bin\\reference_host_tests.exe";
    EXPECT_TRUE(IsHandOffCommandLine("reference_host_tests.exe \"C:\\a.dng\" ", program));
    EXPECT_FALSE(IsHandOffCommandLine("reference_host_tests.exe", program));
    EXPECT_FALSE(IsHandOffCommandLine("reference_host_tests.exe --gtest_filter=x", program));
    EXPECT_FALSE(IsHandOffCommandLine("reference_host_tests.exe \"C:\\a.dng\" --gtest_list_tests", program));
    EXPECT_FALSE(IsHandOffCommandLine("ombrix-host.exe import module.8ba", "ombrix-host.exe"));
}

}  // namespace
