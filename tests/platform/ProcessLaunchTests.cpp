// Starting a program as the hand-off does, seen from the started program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>

#include "outputs/HandOffList.h"
#include "platform/ProcessLaunch.h"
#include "selectors/ModuleState.h"
#include "common/TempFolder.h"
#include "common/ProgramFolder.h"
#include "common/WideText.h"

namespace {

using Record = std::map<std::string, std::string>;

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        bytes.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
        CloseHandle(file);
    }
    return bytes;
}

bool ReadRecord(const std::string& path, Record& record)
{
    if (!PathExists(path)) {
        return false;
    }
    std::string text = FileBytes(path);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        size_t equals = line.find('=');
        record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return true;
}

class StartProcessTest : public ::testing::Test {
protected:
    TempFolder temp{"ombrix-launch"};
    std::string output = temp.Inside("record.txt");

    void SetUp() override
    {
        SetEnvironmentVariableW(L"OMBRIX_PROBE_OUTPUT", Utf8ToWide(output).c_str());
    }

    void TearDown() override
    {
        for (const char* name : {"OMBRIX_PROBE_OUTPUT", "OMBRIX_PROBE_GATE", "OMBRIX_PROBE_DELAY"}) {
            SetEnvironmentVariableA(name, nullptr);
        }
    }

    // A copy of the probe program under another name.
    std::string Probe(const std::string& relative = "probe.exe")
    {
        std::string path = temp.Inside(relative);
        EXPECT_TRUE(CopyFileW(Utf8ToWide(BesideProgram("launch_probe.exe")).c_str(), Utf8ToWide(path).c_str(), FALSE)) << path;
        return path;
    }

    // The probe's record, once it has written it and ended (20 s at most).
    Record AwaitRecord()
    {
        Record record;
        for (int i = 0; i < 400 && !ReadRecord(output, record); i++) {
            Sleep(50);
        }
        EXPECT_FALSE(record.empty()) << "the started program wrote nothing";
        AwaitEnd(record);
        return record;
    }

    // The probe's executable can be removed only once it has ended.
    static bool AwaitEnd(const Record& record, DWORD milliseconds = 20000)
    {
        auto pid = record.find("pid");
        if (pid == record.end()) {
            return false;
        }
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid->second));
        if (process == nullptr) {
            return true;  // already gone
        }
        bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
        CloseHandle(process);
        return ended;
    }
};

TEST_F(StartProcessTest, FirstWordIsTheFileNameWhileThePathStartsTheProgram)
{
    std::string probe = Probe();
    EXPECT_EQ(StartProcess(Utf8ToWide(probe).c_str(), L"\"C:\\Out\\c.dng\" ", false), 0u);
    Record record = AwaitRecord();
    EXPECT_EQ(record["command"], "probe.exe \"C:\\Out\\c.dng\" ");
    EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Utf8ToWide(record["module"]).c_str(), -1,
                             Utf8ToWide(probe).c_str(), -1),
              CSTR_EQUAL)
        << record["module"];
}

TEST_F(StartProcessTest, WindowIsShownNormally)
{
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe()).c_str(), L"", false), 0u);
    Record record = AwaitRecord();
    EXPECT_EQ(std::stoul(record["flags"]) & STARTF_USESHOWWINDOW, static_cast<unsigned long>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(record["show"], std::to_string(SW_SHOWNORMAL));
}

TEST_F(StartProcessTest, EmptyArgumentsLeaveTheBlankAfterTheFileName)
{
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe()).c_str(), L"", false), 0u);
    EXPECT_EQ(AwaitRecord()["command"], "probe.exe ");
}

TEST_F(StartProcessTest, FileNameWithBlanksIsPassedUnquoted)
{
    temp.MakeFolder("Host Program");
    std::string probe = Probe("Host Program\\Image Host 2 (copy).exe");
    EXPECT_EQ(StartProcess(Utf8ToWide(probe).c_str(), L"-x", false), 0u);
    Record record = AwaitRecord();
    EXPECT_EQ(record["command"], "Image Host 2 (copy).exe -x");
    EXPECT_NE(record["module"].find("\\Host Program\\Image Host 2 (copy).exe"), std::string::npos) << record["module"];
}

TEST_F(StartProcessTest, HandOffListOfThreePathsIsPassedAsBuilt)
{
    ReleaseHandOffList();
    ASSERT_TRUE(AppendHandOff(L"C:\\Out", L"c.dng"));
    ASSERT_TRUE(AppendHandOff(L"C:\\Out", L"d e.dng"));
    ASSERT_TRUE(AppendHandOff(L"D:\\Other Out", L"f.dng"));
    wchar_t arguments[100];
    DropHandOffBatch(NextHandOffBatch(arguments, std::size(arguments) - 1));
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe("host.exe")).c_str(), arguments, false), 0u);
    EXPECT_EQ(AwaitRecord()["command"], "host.exe \"C:\\Out\\c.dng\" \"C:\\Out\\d e.dng\" \"D:\\Other Out\\f.dng\" ");
}

// The longest command line Windows starts, 32,766 characters, goes whole;
// one more is refused before anything starts.
TEST_F(StartProcessTest, LongestCommandLineIsPassedWholeAndOneMoreIsRefused)
{
    const std::wstring probe = Utf8ToWide(Probe());
    EXPECT_EQ(ArgumentRoom(probe.c_str()), LongestCommandLine - std::strlen("probe.exe "));
    std::wstring arguments(ArgumentRoom(probe.c_str()), L'a');
    EXPECT_EQ(StartProcess(probe.c_str(), arguments.c_str(), false), 0u);
    std::string command = AwaitRecord()["command"];
    EXPECT_EQ(command.size(), 32766u);
    EXPECT_EQ(command, "probe.exe " + WideToUtf8(arguments));

    EXPECT_EQ(StartProcess(probe.c_str(), (arguments + L"a").c_str(), false), DWORD(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(ArgumentRoom(Utf8ToWide(temp.Inside(std::string(48, 'n') + ".exe")).c_str()), 0u) << "a file name past 51";
}

TEST_F(StartProcessTest, FileNameOfFiftyOneCharactersIsTheLongestStarted)
{
    std::string name51 = std::string(47, 'n') + ".exe";
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe(name51)).c_str(), L"x", false), 0u);
    EXPECT_EQ(AwaitRecord()["command"], name51 + " x");

    std::string name52 = std::string(48, 'n') + ".exe";
    EXPECT_NE(StartProcess(Utf8ToWide(Probe(name52)).c_str(), L"x", false), 0u);
}

TEST_F(StartProcessTest, WithoutWaitingItReturnsWhileTheProgramRuns)
{
    std::string gate = temp.Inside("gate");
    SetEnvironmentVariableW(L"OMBRIX_PROBE_GATE", Utf8ToWide(gate).c_str());
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe()).c_str(), L"", false), 0u);
    // The probe cannot write before the gate exists.
    EXPECT_FALSE(PathExists(output));
    temp.MakeFile("gate");
    EXPECT_EQ(AwaitRecord()["command"], "probe.exe ");
}

TEST_F(StartProcessTest, WaitingReturnsOnlyOnceTheProgramHasEnded)
{
    SetEnvironmentVariableA("OMBRIX_PROBE_DELAY", "700");
    EXPECT_EQ(StartProcess(Utf8ToWide(Probe()).c_str(), L"", true), 0u);
    Record record;
    ASSERT_TRUE(ReadRecord(output, record)) << "returned before the program wrote its record";
    EXPECT_TRUE(AwaitEnd(record, 0)) << "returned before the program ended";
}

TEST_F(StartProcessTest, FailureReturnsThePlatformsErrorCode)
{
    EXPECT_EQ(StartProcess(Utf8ToWide(temp.Inside("missing.exe")).c_str(), L"", false),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// Installed anywhere: a program under folders outside the code page starts
// with its own name as the first word and the arguments exactly as given.
TEST_F(StartProcessTest, ProgramUnderAnyFolderStartsWithArgumentsUnitForUnit)
{
    const std::string folder = temp.MakeFolder("\xe5\x86\x99\xe7\x9c\x9f \xc5\x81\xc3\xb3\x64\xc5\xba");
    const std::string probe = Probe(folder.substr(temp.Path().size() + 1) + "\\\xf0\x9f\x93\xb7 probe.exe");
    EXPECT_EQ(StartProcess(Utf8ToWide(probe).c_str(), L"\"C:\\\u5199\u771f\\\U0001F4F7.dng\" ", false), 0u);
    Record record = AwaitRecord();
    EXPECT_EQ(record["command"], "\xf0\x9f\x93\xb7 probe.exe \"C:\\\xe5\x86\x99\xe7\x9c\x9f\\\xf0\x9f\x93\xb7.dng\" ");
    EXPECT_EQ(record["module"], probe);
}

}  // namespace
