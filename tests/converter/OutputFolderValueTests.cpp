// The value through which the converter reports its output folder.
#include <cstring>
#include <string>

#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"

namespace {

constexpr const char* FolderValue = "Plugin Output Folder";

class OutputFolderValueTest : public RegistryTest {
protected:
    char folder[260];
    void SetUp() override { Spoil(); }
    // Something the read must replace.
    void Spoil() { std::memcpy(folder, "stale", 6); }
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
    EXPECT_STREQ(folder, "");
}

TEST_F(OutputFolderValueTest, ResetWithoutTheKeyCreatesItEmpty)
{
    ResetOutputFolderValue();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, TestSettingsKey));
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, TestSettingsKey).empty());
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");
}

TEST_F(OutputFolderValueTest, FolderWrittenByTheConverterIsRead)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Another Setting", "something else");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Session 12");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Zoom", "3");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "C:\\Exports\\Session 12");
}

TEST_F(OutputFolderValueTest, NoKeyNoValueOrZeroBytesMeanNoFolder)
{
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");

    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Another Setting", "C:\\Exports");
    Spoil();
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");

    SetBytes(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "");
    Spoil();
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");
}

TEST_F(OutputFolderValueTest, NameInAnotherCaseIsNotTaken)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "plugin output folder", "C:\\Exports\\Session 12");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Plugin Output Folder ", "C:\\Exports\\Session 12");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "");
}

TEST_F(OutputFolderValueTest, DataWithoutTerminatorIsReadAsAString)
{
    SetBytes(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Raw");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "C:\\Exports\\Raw");
}

TEST_F(OutputFolderValueTest, LongestFolderThatFitsIsReadWhole)
{
    std::string longest = "C:\\" + std::string(255, 'e');  // 258 characters, 259 bytes
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, longest);
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_EQ(std::string(folder), longest);

    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, longest + "e");
    EXPECT_EQ(ReadOutputFolder(folder), ERROR_MORE_DATA);
    EXPECT_STREQ(folder, "");
}

TEST_F(OutputFolderValueTest, ValueBeforeTheFolderThatDoesNotFitStopsTheRead)
{
    SetText(HKEY_CURRENT_USER, TestSettingsKey, FolderValue, "C:\\Exports\\Session 12");
    // Both sort before "Plugin Output Folder".
    SetText(HKEY_CURRENT_USER, TestSettingsKey, "Long Data", std::string(259, 'd'));
    ASSERT_EQ(ValueNames(HKEY_CURRENT_USER, TestSettingsKey).front(), "Long Data");
    EXPECT_EQ(ReadOutputFolder(folder), ERROR_MORE_DATA);
    EXPECT_STREQ(folder, "");

    RegDeleteKeyValueA(HKEY_CURRENT_USER, TestSettingsKey, "Long Data");
    std::string longName = "A" + std::string(258, 'n');  // 259 characters
    SetText(HKEY_CURRENT_USER, TestSettingsKey, longName.c_str(), "x");
    EXPECT_EQ(ReadOutputFolder(folder), ERROR_MORE_DATA);
    EXPECT_STREQ(folder, "");

    // One character shorter, the name is read and passed over.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, TestSettingsKey, longName.c_str());
    SetText(HKEY_CURRENT_USER, TestSettingsKey, longName.substr(0, 258).c_str(), "x");
    EXPECT_EQ(ReadOutputFolder(folder), 0);
    EXPECT_STREQ(folder, "C:\\Exports\\Session 12");
}

}  // namespace
