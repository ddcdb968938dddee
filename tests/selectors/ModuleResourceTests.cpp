// The built module as the host finds it: its description resource and its
// exported entry points.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "host/PiplReader.h"
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

// Read back by the reference host's own reader, as a host finds the module.
TEST_F(ModuleFile, DescriptionNamesAnImportCommandAndItsEntryPoint)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(16000), "PIPL");
    ASSERT_NE(found, nullptr);
    auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    PiplInfo pipl;
    std::string error;
    ASSERT_TRUE(ParsePipl(bytes, SizeofResource(module, found), &pipl, &error)) << error;
    EXPECT_EQ(FourCharText(pipl.kind), "8BAM");
    EXPECT_EQ(pipl.name, "Ombrix...");
    EXPECT_EQ(pipl.version, 0x00040000u);
    EXPECT_EQ(pipl.entryPoint, "ENTRYPOINT");
    EXPECT_EQ(pipl.propertyCount, 4);
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
