// The built module as the host finds it: its description resource and its
// exported entry points.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "support/TestSupport.h"

namespace {

class ModuleFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(BesideProgram("OmbrixImport.8ba").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << "OmbrixImport.8ba next to the test program";
    }
    void TearDown() override
    {
        if (module != nullptr)
            FreeLibrary(module);
    }
    HMODULE module = nullptr;
};

TEST_F(ModuleFile, DescriptionResourceHasExactlyTheExpectedBytes)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(16000), "PIPL");
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(module, found);
    auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(bytes, nullptr);

    std::vector<unsigned char> expected;
    auto word = [&](uint16_t v) { expected.insert(expected.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto dword = [&](uint32_t v) { word(uint16_t(v)); word(uint16_t(v >> 16)); };
    auto code = [&](const char* c) { expected.insert(expected.end(), {uint8_t(c[3]), uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0])}); };
    auto text = [&](const char* t, size_t n) { expected.insert(expected.end(), t, t + n); };

    word(1);
    dword(0);
    dword(4);
    code("8BIM"); code("kind"); dword(0); dword(4); code("8BAM");
    code("8BIM"); code("name"); dword(0); dword(12); text("\x09Ombrix...\0\0", 12);
    code("8BIM"); code("vers"); dword(0); dword(4); dword(0x00040000);
    code("8BIM"); code("wx86"); dword(0); dword(12); text("ENTRYPOINT\0\0", 12);

    ASSERT_EQ(size, expected.size());
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + size), expected);
}

TEST(ModuleExports, EntryPointsAreFoundByTheirUndecoratedNames)
{
    HMODULE module = LoadLibraryA(BesideProgram("OmbrixImport.8ba").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "ENTRYPOINT"), nullptr);
    EXPECT_NE(GetProcAddress(module, "UIProc"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "_ENTRYPOINT"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "UIProc@16"), nullptr);
    FreeLibrary(module);
}

}  // namespace
