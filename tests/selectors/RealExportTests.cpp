// What real converters and image tools write (scripts/make-real-exports.sh,
// run by the build into bin/real-exports), each file imported through the
// reference host in a run of its own: it arrives as another program decodes
// it, with its own profile byte for byte, or gets the message its manifest
// line names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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

void PrintTo(const ExportCase& c, std::ostream* out)
{
    *out << c.file << " (" << c.outcome << ")";
}

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

// A test name made of the file name's letters and digits.
std::string CaseName(const testing::TestParamInfo<ExportCase>& info)
{
    std::string name = info.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
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
        for (const std::string& made : {c.reference, c.profile})
            if (made != "-")
                EXPECT_FALSE(ReadFileBytes(InExports(made)).empty()) << made;
    }
}

class RealExportTest : public ImportRunTest, public testing::WithParamInterface<ExportCase> {};

TEST_P(RealExportTest, ArrivesAsTheManifestSays)
{
    const ExportCase& c = GetParam();
    Export({{InExports(c.file), c.file}});
    HostReport report = Run();

    if (c.outcome == "message3" || c.outcome == "message4") {
        EXPECT_EQ(MessageTexts(report), std::vector<std::string>{ModuleMessageText(c.outcome.back() - '0')});
        EXPECT_EQ(report.CompleteDocuments(), 0);
        return;
    }
    ASSERT_TRUE(c.outcome == "depth8" || c.outcome == "depth16") << "unknown outcome " << c.outcome;
    EXPECT_TRUE(MessageTexts(report).empty());
    ASSERT_EQ(report.CompleteDocuments(), 1);
    const DocumentRecord& document = report.documents.back();
    EXPECT_EQ(document.mode, ImageModeRGB);
    EXPECT_EQ(document.planes, 3);
    ASSERT_EQ(document.depth, c.outcome == "depth16" ? 16 : 8);
    const HostImage expected = ReadPpm(InExports(c.reference));
    ASSERT_FALSE(expected.bytes.empty()) << "no reference " << c.reference;
    ExpectSameImage(HostImage{document.width, document.height, document.BytesPerSample(), document.pixels.Bytes()},
                    expected);

    if (c.profile == "-") {
        EXPECT_FALSE(document.hasProfile);
        return;
    }
    const std::string profile = ReadFileBytes(InExports(c.profile));
    ASSERT_TRUE(document.hasProfile) << "the file's " << profile.size() << "-byte profile did not arrive";
    EXPECT_EQ(document.profileSizeField, int32_t(profile.size()));
    EXPECT_TRUE(std::string(document.profile.begin(), document.profile.end()) == profile)
        << "the profile that arrived is not the file's";
}

INSTANTIATE_TEST_SUITE_P(Exports, RealExportTest, testing::ValuesIn(ManifestCases()), CaseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealExportTest);

}  // namespace
