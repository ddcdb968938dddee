// Recording an output folder for deletion by a later load of the module.
#include <string>

#include "converter/RegistryState.h"
#include "support/RegistryTestKeys.h"

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
    RecordCleanupFolder("C:\\Exports\\Session 1");
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
    RecordCleanupFolder("C:\\D");
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_EQ(Recorded("3"), std::string("C:\\D", 5));
}

TEST_F(CleanupRecordTest, TakenNameIsNeverOverwritten)
{
    // Left by a cleanup that removed "0", "1" and "2" but kept "3" and "4".
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "3", "C:\\Kept 3");
    SetText(HKEY_CURRENT_USER, TestCleanupKey, "4", "C:\\Kept 4");
    RecordCleanupFolder("C:\\New A");  // two values: "2" is free
    RecordCleanupFolder("C:\\New B");  // three values: "3" and "4" are taken
    EXPECT_EQ(Recorded("2"), std::string("C:\\New A", 9));
    EXPECT_EQ(Recorded("3"), std::string("C:\\Kept 3", 10));
    EXPECT_EQ(Recorded("4"), std::string("C:\\Kept 4", 10));
    EXPECT_EQ(Recorded("5"), std::string("C:\\New B", 9));
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, TestCleanupKey).size(), 4u);
}

TEST_F(CleanupRecordTest, WithoutTheCleanupKeyNothingIsRecorded)
{
    CreateKey(HKEY_CURRENT_USER, TestSettingsKey);
    RecordCleanupFolder("C:\\Exports\\Session 1");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, TestCleanupKey));
}

}  // namespace
