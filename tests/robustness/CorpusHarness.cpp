// corpus_harness.exe CORPUS_FOLDER [BUDGET_SECONDS]
// Imports every file of the corpus through the module's Start, Continue and
// Finish with the in-process fake host, prints the table of outcomes and
// every fault, and exits 1 when any file crashed, hung or ran over the time
// budget, left something held, or was delivered as a document although the
// independent decoder found its picture data missing. Documents unlike the
// independent decode, and sound files refused, are listed as notes.
#include "robustness/CorpusHarness.h"

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t'))
        fields.push_back(field);
    return fields;
}

// A worker process importing from one index on, its output read line by
// line by a thread of ours, so that a silent worker is noticed in time.
class Worker {
public:
    Worker(const std::string& folder, size_t first)
    {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        CreatePipe(&output_, &writeEnd, &inherit, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        char program[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, program, MAX_PATH);
        // Appended to, not prefixed: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
        std::string command = std::string("\"") + program + "\" --worker \"" + folder + "\" " + std::to_string(first);
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
            process_ = info.hProcess;
            CloseHandle(info.hThread);
        }
        CloseHandle(writeEnd);
        reader_ = std::thread([this] { Read(); });
    }

    ~Worker()
    {
        if (process_ != nullptr) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
            CloseHandle(process_);
        }
        reader_.join();
        CloseHandle(output_);
    }

    // False when the worker ended, or said nothing for limitMs.
    bool NextLine(std::string& line, DWORD limitMs, bool& timedOut)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        timedOut = !ready_.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return !lines_.empty() || ended_; });
        if (timedOut || lines_.empty())
            return false;
        line = lines_.front();
        lines_.pop_front();
        return true;
    }

    DWORD ExitCode()
    {
        DWORD code = 0;
        if (process_ != nullptr) {
            WaitForSingleObject(process_, 5000);
            GetExitCodeProcess(process_, &code);
        }
        return code;
    }

private:
    void Read()
    {
        std::string pending;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(output_, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            pending.append(buffer, got);
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(pending.substr(0, end));
                pending.erase(0, end + 1);
                ready_.notify_one();
            }
        }
        std::lock_guard<std::mutex> lock(mutex_);
        ended_ = true;
        ready_.notify_one();
    }

    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
    std::thread reader_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::string> lines_;
    bool ended_ = false;
};

const char* const OutcomeNames[] = {"document", "message 3", "message 4", "other", "crash", "hang"};

}  // namespace

std::vector<CorpusEntry> ReadManifest(const std::string& folder)
{
    std::vector<CorpusEntry> entries;
    std::ifstream manifest(folder + "\\manifest.txt");
    std::string line;
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() == 4)
            entries.push_back({entries.size(), fields[0], fields[1], fields[2], fields[3]});
    }
    return entries;
}

std::string EncodeResult(const FileResult& result)
{
    std::string leaks;
    for (const std::string& leak : result.leaks)
        leaks += (leaks.empty() ? "" : ";") + leak;
    std::string detail = result.detail;
    for (char& c : detail)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return std::to_string(int(result.outcome)) + "\t" + std::to_string(result.milliseconds) + "\t" +
           (result.differs ? "1" : "0") + "\t" + (leaks.empty() ? "-" : leaks) + "\t" + detail;
}

FileResult DecodeResult(const std::string& text)
{
    const std::vector<std::string> fields = SplitTabs(text);
    FileResult result;
    if (fields.size() < 4)
        return result;
    result.outcome = Outcome(std::atoi(fields[0].c_str()));
    result.milliseconds = std::atol(fields[1].c_str());
    result.differs = fields[2] == "1";
    if (fields[3] != "-") {
        std::stringstream leaks(fields[3]);
        std::string leak;
        while (std::getline(leaks, leak, ';'))
            result.leaks.push_back(leak);
    }
    result.detail = fields.size() > 4 ? fields[4] : "";
    return result;
}

int RunSupervisor(const std::string& folder, long budgetMilliseconds)
{
    const std::vector<CorpusEntry> entries = ReadManifest(folder);
    if (entries.empty()) {
        std::fprintf(stderr, "corpus_harness: no manifest.txt with entries in %s\n", folder.c_str());
        return 2;
    }
    std::vector<FileResult> results(entries.size());
    // A worker silent this long is stuck in one file.
    const DWORD hangLimit = DWORD(budgetMilliseconds) * 3 + 5000;
    size_t next = 0;
    while (next < entries.size()) {
        Worker worker(folder, next);
        size_t current = entries.size();
        std::string crash;
        std::string line;
        bool timedOut = false;
        while (worker.NextLine(line, hangLimit, timedOut)) {
            unsigned index = 0;
            char word[8] = "";
            if (std::sscanf(line.c_str(), "%7s %u", word, &index) == 2 && index < entries.size()) {
                if (std::string(word) == "BEGIN") {
                    current = index;
                } else if (std::string(word) == "END") {
                    results[index] = DecodeResult(line.substr(line.find(' ', 4) + 1));
                    current = entries.size();
                    next = index + 1;
                }
            } else if (line.rfind("CRASH", 0) == 0) {
                crash = line.substr(6);
            }
        }
        if (current == entries.size()) {
            if (next < entries.size() && !timedOut) {  // ended outside a file: nothing more will come
                std::fprintf(stderr, "corpus_harness: the worker ended before file %u (exit code %lu)\n",
                             unsigned(next), worker.ExitCode());
                return 2;
            }
            continue;
        }
        FileResult& failed = results[current];
        failed.outcome = timedOut ? Outcome::Hang : Outcome::Crash;
        failed.detail = timedOut ? "no answer in " + std::to_string(hangLimit / 1000) + " s"
                                 : (crash.empty() ? "worker ended" : crash) + ", exit code " +
                                       std::to_string(worker.ExitCode());
        next = current + 1;
    }

    int counts[6] = {}, leaks = 0, invented = 0, differs = 0, slow = 0, soundRefused = 0;
    long longest = 0;
    std::vector<std::string> faults, notes;
    for (size_t i = 0; i < entries.size(); ++i) {
        const FileResult& r = results[i];
        const CorpusEntry& e = entries[i];
        counts[int(r.outcome)]++;
        longest = std::max(longest, r.milliseconds);
        std::string fault;
        if (r.outcome == Outcome::Crash || r.outcome == Outcome::Hang || r.outcome == Outcome::Other)
            fault = OutcomeNames[int(r.outcome)];
        if (r.milliseconds > budgetMilliseconds) {
            ++slow;
            fault = "over the time budget (" + std::to_string(r.milliseconds) + " ms)";
        }
        if (!r.leaks.empty()) {
            ++leaks;
            fault = "left held:";
            for (const std::string& leak : r.leaks)
                fault += " " + leak;
        }
        if (r.outcome == Outcome::Document && e.verdict != "sound") {
            ++invented;
            fault = "invented picture: document delivered, the independent decoder found data missing";
        } else if (r.differs) {
            // Not counted as a fault: on a damaged file that neither decoder
            // notices, the two may read the damage differently.
            ++differs;
            notes.push_back(e.name + " (" + e.made + "): document differs from the independent decode");
        }
        if (r.outcome == Outcome::Message3 && e.verdict == "sound") {
            ++soundRefused;
            notes.push_back(e.name + " (" + e.made + "): message 3, the independent decoder found it sound");
        }
        if (!fault.empty())
            faults.push_back(e.name + " (" + e.made + "): " + fault + "; " + r.detail);
    }
    std::printf("%-10s %9s %9s %9s %7s %7s %7s %7s %9s %7s\n", "files", "documents", "message 3", "message 4",
                "other", "crashes", "hangs", "leaks", "invented", "differ");
    std::printf("%-10zu %9d %9d %9d %7d %7d %7d %7d %9d %7d\n", entries.size(), counts[0], counts[1], counts[2],
                counts[3], counts[4], counts[5] + slow, leaks, invented, differs);
    std::printf("(hangs: no answer, or over the %ld s budget; longest import %ld ms; message 3 on files the "
                "independent decoder found sound: %d)\n",
                budgetMilliseconds / 1000, longest, soundRefused);
    for (const std::string& note : notes)
        std::printf("NOTE %s\n", note.c_str());
    for (const std::string& fault : faults)
        std::printf("FAULT %s\n", fault.c_str());
    return faults.empty() ? 0 : 1;
}

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--worker")
        return RunWorker(argv[2], size_t(std::strtoul(argv[3], nullptr, 10)));
    if (argc < 2) {
        std::fprintf(stderr, "usage: corpus_harness.exe CORPUS_FOLDER [BUDGET_SECONDS]\n"
                             "  (a folder made by scripts/make-corpus.py)\n");
        return 2;
    }
    const long budget = argc >= 3 ? std::atol(argv[2]) * 1000 : 10000;
    return RunSupervisor(argv[1], budget);
}
