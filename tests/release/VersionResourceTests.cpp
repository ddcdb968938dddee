// The version a support question asks for, read back from the built module
// through the system's version API, as the file's properties show it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

std::vector<char> VersionBlock()
{
    std::string path = BesideProgram("OmbrixImport.8ba");
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

std::string StringValue(std::vector<char>& block, const char* name)
{
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr)
        return "<missing>";
    return text;
}

TEST(ModuleVersion, FixedVersionIsTheProjectVersion)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty()) << "OmbrixImport.8ba carries no version resource";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const DWORD expectedHigh = MAKELONG(OMBRIX_VERSION_MINOR, OMBRIX_VERSION_MAJOR);
    const DWORD expectedLow = MAKELONG(0, OMBRIX_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, expectedHigh);
    EXPECT_EQ(fixed->dwFileVersionLS, expectedLow);
    EXPECT_EQ(fixed->dwProductVersionMS, expectedHigh);
    EXPECT_EQ(fixed->dwProductVersionLS, expectedLow);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(ModuleVersion, TextsNameTheProductItsMakerAndTheFile)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    const struct {
        const char* name;
        std::string expected;
    } values[] = {
        {"FileVersion", OMBRIX_VERSION},
        {"ProductVersion", OMBRIX_VERSION},
        {"ProductName", "Ombrix"},
        {"CompanyName", "Korvel"},
        {"OriginalFilename", "OmbrixImport.8ba"},
    };
    for (const auto& value : values)
        EXPECT_EQ(StringValue(block, value.name), value.expected) << value.name;
    EXPECT_NE(StringValue(block, "FileDescription"), "<missing>");
    EXPECT_NE(StringValue(block, "LegalCopyright").find("Korvel"), std::string::npos);
}

} // namespace
