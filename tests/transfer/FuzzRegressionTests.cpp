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
    int message;  // 0: a document; else the message Start refuses it with
};

constexpr Regression Regressions[] = {
    {"exif-short-text.tif", 3},  // the TIFF library reports the damaged GPS directory
    {"no-sample-count.tif", 3},  // a directory whose chain runs past the file's end
    {"large-rational.tif", 3},   // 350 bits a sample, which no decoder reads
    {"exif-tag-without-value.tif", 3},  // a YCbCrPositioning tag of 62,977 values, which the library drops
    {"five-components.jpg", 4},  // a sound kind of frame the module makes no document of
    {"thumbnail-five-components.jpg", 0},  // the thumbnail is not read
    {"two-samples-without-photometric.tif", 3},  // its colour kind's tag has a wrong count
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
            if (regression.message == 0) {
                ASSERT_EQ(host.Start(), 0);
                EXPECT_EQ(host.Continue(), 0);
                EXPECT_EQ(host.received.height, host.Record()->imageSize.v);
                if (host.Record()->iCCprofileData != nullptr)  // the document's: the host disposes of it
                    host.Record()->handleProcs->disposeProc(host.Record()->iCCprofileData);
            } else {
                EXPECT_EQ(host.Start(), -128);
            }
            const std::vector<std::string> expected =
                regression.message == 0 ? std::vector<std::string>{}
                                        : std::vector<std::string>{ModuleMessageText(regression.message)};
            EXPECT_EQ(MessageTexts(boxes), expected);
            EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
            EXPECT_EQ(host.Handles().LiveHandles(), 0);
        }
        EXPECT_EQ(CurrentBitmap, nullptr);
    }
}

}  // namespace
