// A document the host cannot hold is refused with the host's out-of-memory
// result, reported, and the run goes on with nothing left held.
#include <gtest/gtest.h>

#include "TestModuleRun.h"
#include "host/PixelStore.h"

namespace {

HostReport ImportTwoImages(const std::string& size, uint64_t documentMemoryLimit)
{
    HostOptions options;
    options.documentMemoryLimit = documentMemoryLimit;
    return ImportWithTestModule("images=2;profileBytes=100;" + size, options);
}

TEST(DocumentMemory, DocumentAtTheLimitIsHeldAndOneByteBeyondIsRefused)
{
    const int bytes = 5 * 4 * 3;
    HostReport held = ImportTwoImages("width=5;height=4", bytes);
    EXPECT_EQ(held.CompleteDocuments(), 2);

    HostReport refused = ImportTwoImages("width=5;height=4", bytes - 1);
    EXPECT_EQ(refused.Selectors(), (std::vector<int16_t>{4, 1, 3, 1, 3, 5}))
        << "no Continue for a refused document; Finish lets the module release it, and the next image follows";
    ASSERT_EQ(refused.documents.size(), 2u);
    for (const DocumentRecord& document : refused.documents) {
        EXPECT_EQ(document.error, ResultOutOfMemory);
        EXPECT_FALSE(document.complete);
        EXPECT_NE(document.refused.find("60 bytes"), std::string::npos) << document.refused;
        EXPECT_TRUE(document.pixels.empty());
        EXPECT_EQ(document.profile.size(), 100u) << "the profile handed over is still taken and freed";
    }
    EXPECT_TRUE(refused.problems.empty()) << "the module did nothing wrong";
    EXPECT_TRUE(refused.leaks.empty());
    EXPECT_EQ(refused.suites.handlesCreated, refused.suites.handlesDisposed + 1) << "only the data slot's block";
}

TEST(DocumentMemory, DocumentsLargerThanTheAddressSpaceAreRefused)
{
    // 4.29 GB: its size fits 32 bits, its blocks do not fit the address space.
    if (sizeof(void*) == 8)
        GTEST_SKIP() << "a 64-bit host holds it (host_LargestImageBench imports 32767 x 32767 at 16 bits)";
    HostReport report = ImportTwoImages("width=32767;height=32767;planes=4", 0);
    ASSERT_EQ(report.documents.size(), 2u);
    EXPECT_EQ(report.documents[0].error, ResultOutOfMemory);
    EXPECT_EQ(report.documents[1].error, ResultOutOfMemory);
    EXPECT_TRUE(report.leaks.empty());
}

TEST(PixelStoreTest, RowsSpanningBlocksReadBackInOrderAndTheLimitHoldsAtItsEdge)
{
    PixelStore store;
    ASSERT_TRUE(store.Allocate(5, 7, 35, 12)) << "35 bytes, the limit exactly; two rows a block";
    for (size_t row = 0; row < 7; ++row)
        for (size_t i = 0; i < 5; ++i) {
            ASSERT_EQ(store.Row(row)[i], 0) << "zero-filled";
            store.Row(row)[i] = uint8_t(row * 5 + i);
        }
    std::vector<uint8_t> expected(35);
    for (size_t i = 0; i < 35; ++i)
        expected[i] = uint8_t(i);
    EXPECT_EQ(store.Bytes(), expected);
    EXPECT_EQ(store.Row(3), store.Row(2) + 5) << "rows of one block follow each other";
    PixelStore copy = store;
    copy.Row(6)[4] = 0;
    EXPECT_EQ(store.Bytes(), expected) << "a copy has blocks of its own";

    EXPECT_FALSE(store.Allocate(5, 7, 34)) << "one byte beyond the limit";
    EXPECT_TRUE(store.empty());
    if (sizeof(size_t) == 4) {
        EXPECT_FALSE(store.Allocate(65536, 65537)) << "more bytes than 32 bits count";
    }
}

}  // namespace
