// The files the fuzz target found faults with (tests/fuzz/regressions), each
// imported as the host imports it: the outcome its table names, and nothing
// held afterwards.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "selectors/ModuleState.h"
#include "common/ProgramFolder.h"
#include "support/TransferHost.h"

namespace {

struct Regression {
    const char* name;
    bool document;  // else Start refuses it with message 3
};

constexpr Regression Regressions[] = {
    {"exif-short-text.tif", false},  // the TIFF library reports the damaged GPS directory
    {"no-sample-count.tif", false},  // a directory whose chain runs past the file's end
    {"large-rational.tif", false},   // 350 bits a sample, which no decoder reads
    {"exif-tag-without-value.tif", false},  // a YCbCrPositioning tag of 62,977 values, which the library drops
};

std::string Folder()
{
    return BesideProgram("fuzz-regressions");
}

TEST(FuzzRegressionTest, TheTableNamesEveryFileOfTheFolder)
{
    std::ifstream manifest(InFolder(Folder(), "manifest.txt"));
    ASSERT_TRUE(manifest.is_open());
    std::set<std::string> listed, tabled;
    for (std::string line; std::getline(manifest, line);)
        listed.insert(line.substr(0, line.find('\t')));
    for (const Regression& regression : Regressions)
        tabled.insert(regression.name);
    EXPECT_EQ(listed, tabled);
}

TEST(FuzzRegressionTest, EachEndsAsItsTableSaysAndLeavesNothingHeld)
{
    for (const Regression& regression : Regressions) {
        SCOPED_TRACE(regression.name);
        {
            TransferHost host;
            host.SetCurrentFile(Folder(), regression.name);
            DialogWatcher boxes;
            if (regression.document) {
                ASSERT_EQ(host.Start(), 0);
                EXPECT_EQ(host.Continue(), 0);
                EXPECT_EQ(host.received.height, host.Record()->imageSize.v);
                if (host.Record()->iCCprofileData != nullptr)  // the document's: the host disposes of it
                    host.Record()->handleProcs->disposeProc(host.Record()->iCCprofileData);
            } else {
                EXPECT_EQ(host.Start(), -128);
            }
            const std::vector<std::string> expected =
                regression.document ? std::vector<std::string>{} : std::vector<std::string>{ModuleMessageText(3)};
            EXPECT_EQ(MessageTexts(boxes), expected);
            EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
            EXPECT_EQ(host.Handles().LiveHandles(), 0);
        }
        EXPECT_EQ(CurrentBitmap, nullptr);
    }
}

}  // namespace
