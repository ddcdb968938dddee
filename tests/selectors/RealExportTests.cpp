// What real converters and image tools write (scripts/make-real-exports.sh,
// run by the build into bin/real-exports), imported through the reference
// host: each file arrives as another program decodes it, with its own
// profile byte for byte, or gets the message its manifest line names. The
// failures list every file that disagrees, and how.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/ProgramFolder.h"
#include "selectors/ImportRunFixture.h"
#include "support/FileContents.h"
#include "support/TestImages.h"
#include "support/TransferHost.h"

namespace {

struct ExportCase {
    std::string file;
    std::string outcome;    // depth8, depth16, message3 or message4
    std::string reference;  // PPM of an independent decode, relative to the folder; "-" for none
    std::string profile;    // the file's ICC profile, relative to the folder; "-" for none
};

std::string ExportsFolder()
{
    return BesideProgram("real-exports");
}

std::string InExports(const std::string& relative)
{
    std::string path = ExportsFolder() + "\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The manifest's lines; none when the build could not make the exports.
std::vector<ExportCase> ManifestCases()
{
    std::vector<ExportCase> cases;
    std::ifstream manifest(InExports("manifest.txt"));
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line);
        ExportCase c;
        if (std::getline(fields, c.file, '\t') && std::getline(fields, c.outcome, '\t') &&
            std::getline(fields, c.reference, '\t') && std::getline(fields, c.profile))
            cases.push_back(c);
    }
    return cases;
}

// A missing folder or manifest is a failure, not a smaller test: the log
// says why the build could not make them.
TEST(RealExports, TheBuildMadeEveryExport)
{
    const std::vector<ExportCase> cases = ManifestCases();
    ASSERT_FALSE(cases.empty()) << "no " << InExports("manifest.txt") << "; the build's attempt said:\n"
                                << ReadFileBytes(ExportsFolder() + ".log");
    for (const ExportCase& c : cases) {
        EXPECT_FALSE(ReadFileBytes(InExports(c.file)).empty()) << c.file;
        for (const std::string& made : {c.reference, c.profile}) {
            if (made != "-") {
                EXPECT_FALSE(ReadFileBytes(InExports(made)).empty()) << made;
            }
        }
    }
}

bool IsRefusal(const ExportCase& c)
{
    return c.outcome == "message3" || c.outcome == "message4";
}

// The module's messages of a run by number ("message 3"), other texts as they are.
std::string MessagesOf(const std::vector<std::string>& texts)
{
    std::string named;
    for (const std::string& text : texts) {
        std::string name = "\"" + text + "\"";
        for (int id : {3, 4})
            if (text == ModuleMessageText(id))
                name = "message " + std::to_string(id);
        named += (named.empty() ? "" : ", ") + name;
    }
    return named.empty() ? "no message" : named;
}

// Fails the test with every file that disagreed, one a line.
void ExpectNoDisagreement(const std::vector<std::string>& disagreements, size_t files)
{
    if (disagreements.empty())
        return;
    std::string lines;
    for (const std::string& line : disagreements)
        lines += "\n  " + line;
    ADD_FAILURE() << disagreements.size() << " of " << files << " files disagree:" << lines;
}

// Where the document differs from the reference decode; empty when it does not.
std::string PixelDifference(const DocumentRecord& document, const HostImage& expected)
{
    if (document.width != expected.width || document.height != expected.height)
        return "is " + std::to_string(document.width) + " x " + std::to_string(document.height) + ", not " +
               std::to_string(expected.width) + " x " + std::to_string(expected.height);
    const std::vector<uint8_t> received = document.pixels.Bytes();
    if (received == expected.bytes)
        return "";
    const size_t rowBytes = expected.bytes.size() / size_t(expected.height);
    size_t at = 0;
    while (at < received.size() && at < expected.bytes.size() && received[at] == expected.bytes[at])
        ++at;
    return "differs from the reference first in row " + std::to_string(at / rowBytes) + ", byte " +
           std::to_string(at % rowBytes);
}

class RealExportRun : public ImportRunTest {
protected:
    // What is wrong with how the file arrived in a run; empty when nothing is.
    std::string ImportDisagreement(const ExportCase& c, const HostReport& report) const
    {
        const DocumentRecord* document = nullptr;
        for (const DocumentRecord& d : report.documents)
            if (d.filename == c.file && d.complete)
                document = &d;
        if (document == nullptr)
            return "no document (the run's messages: " + MessagesOf(MessageTexts(report)) + ")";
        const int depth = c.outcome == "depth16" ? 16 : 8;
        if (document->mode != ImageModeRGB || document->planes != 3 || document->depth != depth)
            return "mode " + std::to_string(document->mode) + ", " + std::to_string(document->planes) +
                   " planes, depth " + std::to_string(document->depth) + " instead of RGB at " + std::to_string(depth);
        const HostImage expected = ReadPpm(InExports(c.reference));
        if (expected.bytes.empty())
            return "no reference " + c.reference;
        const std::string difference = PixelDifference(*document, expected);
        if (!difference.empty())
            return difference;
        const std::string profile = c.profile == "-" ? "" : ReadFileBytes(InExports(c.profile));
        if (profile.empty() != !document->hasProfile)
            return document->hasProfile ? "a profile arrived for a file without one"
                                        : "its " + std::to_string(profile.size()) + "-byte profile did not arrive";
        if (document->hasProfile && (document->profileSizeField != int32_t(profile.size()) ||
                                     std::string(document->profile.begin(), document->profile.end()) != profile))
            return "the profile that arrived is not the file's";
        return "";
    }

    // What is wrong with the run of one file that is to be refused.
    std::string RefusalDisagreement(const ExportCase& c, const HostReport& report) const
    {
        const std::vector<std::string> expected{ModuleMessageText(c.outcome.back() - '0')};
        if (MessageTexts(report) != expected || report.CompleteDocuments() != 0)
            return std::to_string(report.CompleteDocuments()) + " documents and " + MessagesOf(MessageTexts(report)) +
                   " instead of message " + c.outcome.back();
        return "";
    }
};

// Every file that must arrive, in one run: each is a cycle of its own.
TEST_F(RealExportRun, EveryPictureArrivesAsItsReferenceWithItsProfile)
{
    std::vector<ExportCase> imports;
    std::vector<ExportEntry> files;
    for (const ExportCase& c : ManifestCases())
        if (!IsRefusal(c)) {
            imports.push_back(c);
            files.push_back({InExports(c.file), c.file});
        }
    ASSERT_FALSE(imports.empty());
    Export(files);
    const HostReport report = Run();
    std::vector<std::string> disagreements;
    for (const ExportCase& c : imports) {
        const std::string disagreement = ImportDisagreement(c, report);
        if (!disagreement.empty())
            disagreements.push_back(c.file + ": " + disagreement);
    }
    ExpectNoDisagreement(disagreements, imports.size());
}

// Each file to be refused first in a run of its own: a run tells only its
// first refusal.
TEST_F(RealExportRun, EveryOtherFileGetsItsMessage)
{
    std::vector<std::string> disagreements;
    size_t refusals = 0;
    for (const ExportCase& c : ManifestCases()) {
        if (!IsRefusal(c))
            continue;
        ++refusals;
        Export({{InExports(c.file), c.file}});
        const std::string disagreement = RefusalDisagreement(c, Run());
        if (!disagreement.empty())
            disagreements.push_back(c.file + ": " + disagreement);
    }
    ASSERT_GT(refusals, 0u);
    ExpectNoDisagreement(disagreements, refusals);
}

}  // namespace
