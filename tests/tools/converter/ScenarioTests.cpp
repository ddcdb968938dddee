// The scenario's text forms: the JSON file and the single variables.
#include <gtest/gtest.h>

#include "converter/ConverterScenario.h"

namespace {

TEST(ConverterScenarioText, JsonRoundTripKeepsEverything)
{
    ConverterScenario scenario;
    scenario.files = {{"C:\\in\\a.jpg", "sub\\a.jpg", false, true, true}, {"", "dir.jpg", true}};
    scenario.outputParent = "C:\\out";
    scenario.value = OutputValue::Given;
    scenario.givenValue = "C:\\x\\";
    scenario.delayMs = 10;
    scenario.lingerMs = 20;
    scenario.exitCode = 4;
    scenario.recordFile = "C:\\r.json";
    scenario.waitForFile = "C:\\go";
    scenario.waitTimeoutMs = 30;

    ConverterScenario parsed;
    std::string error;
    ASSERT_TRUE(ParseScenario(ScenarioToJson(scenario), &parsed, &error)) << error;
    ASSERT_EQ(parsed.files.size(), 2u);
    EXPECT_EQ(parsed.files[0].name, "sub\\a.jpg");
    EXPECT_TRUE(parsed.files[0].hidden);
    EXPECT_TRUE(parsed.files[0].readOnly);
    EXPECT_TRUE(parsed.files[1].folder);
    EXPECT_EQ(parsed.value, OutputValue::Given);
    EXPECT_EQ(parsed.givenValue, "C:\\x\\");
    EXPECT_EQ(parsed.delayMs, 10);
    EXPECT_EQ(parsed.lingerMs, 20);
    EXPECT_EQ(parsed.exitCode, 4);
    EXPECT_EQ(parsed.waitForFile, "C:\\go");
    EXPECT_EQ(parsed.waitTimeoutMs, 30);
}

TEST(ConverterScenarioText, FileNameIsTheSourcesWhenNoneIsGiven)
{
    ConverterScenario parsed;
    std::string error;
    ASSERT_TRUE(ParseScenario(R"({"files":[{"source":"C:\\in\\photo.tif"}]})", &parsed, &error)) << error;
    EXPECT_EQ(parsed.files.at(0).name, "photo.tif");
    EXPECT_EQ(parsed.value, OutputValue::Folder);
}

TEST(ConverterScenarioText, UnknownValueKindIsRefused)
{
    ConverterScenario parsed;
    std::string error;
    EXPECT_FALSE(ParseScenario(R"({"value":"sometimes"})", &parsed, &error));
    EXPECT_FALSE(ParseScenario("not json", &parsed, &error));
}

TEST(ConverterScenarioText, VariablesSetDelayLingerAndTheRest)
{
    std::map<std::string, std::string> variables = {
        {"OMBRIX_CONVERTER_DELAY_MS", "1500"},  {"OMBRIX_CONVERTER_LINGER_MS", "250"},
        {"OMBRIX_CONVERTER_VALUE", "nothing"},  {"OMBRIX_CONVERTER_FILES", "C:\\a.jpg;C:\\b.tif>c.tif"},
        {"OMBRIX_CONVERTER_WAIT_FOR", "C:\\go"}, {"OMBRIX_CONVERTER_PARENT", "C:\\p"},
    };
    auto lookup = [&](const char* name) { return variables.count(name) ? variables[name] : std::string(); };
    ConverterScenario scenario;
    std::string error;
    ASSERT_TRUE(ApplyScenarioVariables(lookup, &scenario, &error)) << error;
    EXPECT_EQ(scenario.delayMs, 1500);
    EXPECT_EQ(scenario.lingerMs, 250);
    EXPECT_EQ(scenario.value, OutputValue::Nothing);
    ASSERT_EQ(scenario.files.size(), 2u);
    EXPECT_EQ(scenario.files[0].name, "a.jpg");
    EXPECT_EQ(scenario.files[1].source, "C:\\b.tif");
    EXPECT_EQ(scenario.files[1].name, "c.tif");
    EXPECT_EQ(scenario.waitForFile, "C:\\go");
    EXPECT_EQ(scenario.outputParent, "C:\\p");
}

TEST(ConverterScenarioText, MalformedVariablesAreRefused)
{
    for (auto [name, value] : {std::pair<const char*, const char*>{"OMBRIX_CONVERTER_DELAY_MS", "soon"},
                               {"OMBRIX_CONVERTER_VALUE", "given"},
                               {"OMBRIX_CONVERTER_FILES", ">name-only"}}) {
        auto lookup = [&](const char* asked) { return std::string(asked) == name ? value : ""; };
        ConverterScenario scenario;
        std::string error;
        EXPECT_FALSE(ApplyScenarioVariables(lookup, &scenario, &error)) << name << "=" << value;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
