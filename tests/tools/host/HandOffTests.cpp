// A host instance started with file arguments, as a module hands DNG files
// over, records its command line and exits.
#include <gtest/gtest.h>

#include "TestModuleRun.h"
#include "host/HandOffCommandLine.h"
#include "host/HandOffRecord.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

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
