// Recording an output folder for deletion by a later load of the module.
#include <string>

#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"
#include "common/WideText.h"

namespace {

class CleanupRecordTest : public RegistryTest {
protected:
    std::string Recorded(const char* name)
    {
        auto value = GetValue(HKEY_CURRENT_USER, TestCleanupKey, name);
        return value ? value->bytes : std::string("<missing>");
    }
};

TEST_F(CleanupRecordTest, FirstRecordIsNamedZeroAndKeepsItsTerminator)
{
    CreateKey(HKEY_CURRENT_USER, TestCleanupKey);
    RecordCleanupFolder(L"C:\\Exports\\Session 1");
    auto value = GetValue(HKEY_CURRENT_USER, TestCleanupKey, "0");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes, std::string("C:\\Exports\\Session 1", 21));
}

TEST_F(CleanupRecordTest, NextRecordIsNamedAfterTheNumberOfValues)
{
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "0", "C:\\A");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "1", "C:\\B");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "2", "C:\\C");
    RecordCleanupFolder(L"C:\\D");
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(Recorded("3"), std::string("C:\\D", 5));
}

TEST_F(CleanupRecordTest, TakenNameIsNeverOverwritten)
{
    // Left by a cleanup that removed "0", "1" and "2" but kept "3" and "4".
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "3", "C:\\Kept 3");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "4", "C:\\Kept 4");
    RecordCleanupFolder(L"C:\\New A");  // two values: "2" is free
    RecordCleanupFolder(L"C:\\New B");  // three values: "3" and "4" are taken
    EXPECT_EQ(Recorded("2"), std::string("C:\\New A", 9));
    EXPECT_EQ(Recorded("3"), std::string("C:\\Kept 3", 10));
    EXPECT_EQ(Recorded("4"), std::string("C:\\Kept 4", 10));
    EXPECT_EQ(Recorded("5"), std::string("C:\\New B", 9));
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).size(), 4u);
}

// An earlier version reads the records as 8-bit text: only a folder that
// reads back exactly so goes where it looks; every other folder is recorded
// where only this version looks, never as a best-fit twin of itself.
TEST_F(CleanupRecordTest, AFolderGoesWhereEveryReaderOfItsKeyReadsItExactly)
{
    struct Case {
        std::wstring folder;
        bool earlierVersionsRead;
    };
    const Case cases[] = {
        {L"C:\\Exports\\Caf\u00e9 \u00df%^&", true},
        {L"C:\\" + std::wstring(255, L'o'), true},  // 258 bytes, the longest an earlier version reads whole
        {L"C:\\" + std::wstring(256, L'o'), false},
        {L"C:\\twin\\\u0141\u00f3d\u017a", false},  // would read as C:\twin\Lodz
        {L"C:\\\u5199\u771f", false},
        {L"C:\\Exports\\\U0001F4F7", false},
        {L"C:\\..\uFF3Cvictim", false},  // would read with a real backslash
    };
    for (const Case& c : cases) {
        CreateKey(HKEY_CURRENT_USER, TestCleanupKey);
        CreateKey(HKEY_CURRENT_USER, TestUnicodeCleanupKey);
        RecordCleanupFolder(c.folder);
        const char* kept = c.earlierVersionsRead ? TestCleanupKey : TestUnicodeCleanupKey;
        const char* other = c.earlierVersionsRead ? TestUnicodeCleanupKey : TestCleanupKey;
        EXPECT_EQ(GetWideText(HKEY_CURRENT_USER, kept, "0"), WideToUtf8(c.folder)) << WideToUtf8(c.folder);
        EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, other).empty()) << WideToUtf8(c.folder);
        if (c.earlierVersionsRead) {
            const auto eightBit = GetValue(HKEY_CURRENT_USER, TestCleanupKey, "0");
            ASSERT_TRUE(eightBit.has_value());
            EXPECT_EQ(AnsiToWide(eightBit->bytes.c_str()), c.folder) << "as 8-bit text it is the same folder";
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, TestCleanupKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, TestUnicodeCleanupKey);
    }
}

TEST_F(CleanupRecordTest, WithoutTheCleanupKeyNothingIsRecorded)
{
    CreateKey(HKEY_CURRENT_USER, TestSettingsKey);
    RecordCleanupFolder(L"C:\\Exports\\Session 1");
    RecordCleanupFolder(L"C:\\Exports\\\u5199\u771f");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, TestCleanupKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, TestUnicodeCleanupKey));
}

}  // namespace
