// The value through which the converter reports its output folder.
#include <string>

#include "converter/RegistryState.h"
#include "common/WideText.h"
#include "support/RegistryTestKeys.h"

namespace {

constexpr const char* FolderValue = "Plugin Output Folder";

class OutputFolderValueTest : public RegistryTest {
protected:
    std::wstring folder;
    void SetUp() override { Spoil(); }
    // Something the read must replace.
    void Spoil() { folder = L"stale"; }
};

TEST_F(OutputFolderValueTest, ResetLeavesAnEmptyStringOfZeroBytes)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Earlier");
    ResetOutputFolderValue();
    auto value = GetValue(HKEY_CURRENT_USER, TestSettingsKey, FolderValue);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes.size(), 0u);
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");
}

TEST_F(OutputFolderValueTest, ResetWithoutTheKeyCreatesItEmpty)
{
    ResetOutputFolderValue();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, TestSettingsKey));
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, TestSettingsKey).empty());
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");
}

TEST_F(OutputFolderValueTest, FolderWrittenByTheConverterIsRead)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Another Setting", "something else");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Session 12");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Zoom", "3");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"C:\\Exports\\Session 12");
}

TEST_F(OutputFolderValueTest, NoKeyNoValueOrZeroBytesMeanNoFolder)
{
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");

    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Another Setting", "C:\\Exports");
    Spoil();
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");

    SetBytes(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "");
    Spoil();
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");
}

TEST_F(OutputFolderValueTest, NameInAnotherCaseIsNotTaken)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "plugin output folder", "C:\\Exports\\Session 12");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder ", "C:\\Exports\\Session 12");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"");
}

TEST_F(OutputFolderValueTest, DataWithoutTerminatorIsReadAsAString)
{
    SetBytes(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Raw");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"C:\\Exports\\Raw");
}

// The converter writes the folder with the wide functions: any name, any
// length Windows allows, read exactly (no best fit, no "?").
TEST_F(OutputFolderValueTest, FolderOfAnyNameAndLengthIsReadExactly)
{
    const std::wstring folders[] = {
        L"C:\\Users\\\u0141\u00f3d\u017a\\\u5199\u771f \U0001F4F7",
        L"C:\\twin\\..\uFF3Cvictim",
        L"C:\\" + std::wstring(297, L'e'),
        L"C:\\" + std::wstring(32767 - 3, L'e'),
    };
    for (const std::wstring& written : folders) {
        SetWideText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, WideToUtf8(written));
        Spoil();
        EXPECT_EQ(ReadOutputFolder(folder), 0) << written.size();
        EXPECT_EQ(folder, written);
    }
    SetWideText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\" + std::string(32767 - 2, 'e'));
    EXPECT_EQ(ReadOutputFolder(folder), ERROR_MORE_DATA) << "longer than any path";
    EXPECT_EQ(folder, L"");
}

TEST_F(OutputFolderValueTest, ValueBeforeTheFolderThatDoesNotFitStopsTheRead)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Session 12");
    // Both sort before "Plugin Output Folder".
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Long Data", std::string(32768, 'd'));
    ASSERT_EQ(ValueNames(HKEY_CURRENT_USER, TestSettingsKey).front(), "Long Data");
    EXPECT_EQ(ReadOutputFolder(folder), ERROR_MORE_DATA);
    EXPECT_EQ(folder, L"");

    // A long name, and data as long as a path can be, are read and passed over.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, TestSettingsKey, "Long Data");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Long Data", std::string(32767, 'd'));
    SetText(HKEY_CURRENT_USER, TestSettingsKey, ("A" + std::string(999, 'n')).c_str(), "x");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(folder, L"C:\\Exports\\Session 12");
}

}  // namespace
