// The robustness harness: the module's Start/Continue/Finish over a corpus of
// damaged files (made by scripts/make-corpus.py), each outcome classified.
// A supervisor runs the imports in a worker process and starts a new one
// after a worker that crashed or hung, so one file's fault never ends the run.
#pragma once

#include <string>
#include <vector>

// One line of the corpus's manifest.
struct CorpusEntry {
    size_t index = 0;  // line of the manifest, from 0
    std::string name;
    std::string verdict;    // "sound" or "damaged", as the independent decoder found it
    std::string reference;  // the independent decode (PPM) relative to the corpus, or "-"
    std::string made;       // base image and mutation
};

std::vector<CorpusEntry> ReadManifest(const std::string& folder);

enum class Outcome { Document, Message3, Message4, Other, Crash, Hang };

struct FileResult {
    Outcome outcome = Outcome::Other;
    long milliseconds = 0;
    std::vector<std::string> leaks;  // what the cycle left held
    bool differs = false;            // a document unlike the independent decode
    std::string detail;
};

// One line of text each way between worker and supervisor.
std::string EncodeResult(const FileResult& result);
FileResult DecodeResult(const std::string& text);

FileResult ImportOnce(const std::string& folder, const CorpusEntry& entry);
int RunWorker(const std::string& folder, size_t first);
int RunSupervisor(const std::string& folder, long budgetMilliseconds);
