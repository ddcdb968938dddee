// The module's texts as the user reads them: the string tables in the
// language the loader picks, and the module's own warning box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RealModule.h"
#include "ui/Messages.h"
#include "resources/ResourceIds.h"
#include "selectors/ModuleState.h"
#include "support/DialogWatcher.h"

namespace {

struct Message {
    int id;
    const char* english;
    const char* french;  // cp1252, as ANSI callers receive it
};

const Message Messages[] = {
    {1, "The application Ombrix cannot be found on your computer!",
     "L'application Ombrix est introuvable sur votre machine !"},
    {2, "Unable to launch Ombrix !\nA reinstallation can correct the problem.",
     "Impossible de lancer Ombrix !\nUne r\xE9installation peut r\xE9gler ce probl\xE8me."},
    {3, "An error occured while importing images.\n\nPlease contact Korvel.",
     "Une erreur s'est produite durant l'import de vos images.\n\nMerci de contacter Korvel pour signaler le "
     "probl\xE8me."},
    {4, "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !",
     "Le format des images que vous souhaitez importer n'est pas supporter par le plugin !"},
};

const std::pair<int, const char*> HostTexts[] = {
    {16989, "-- how'd we get here? Aliens?!"},
    {16990, "An integer is required between ^1 and ^2."},
    {16991, "A decimal number is required between ^1 and ^2."},
    {16992, "This plug-in requires Adobe Photoshop\xAE ^1 or later functionality."},
    {16993, "This plug-in is incompatible with this version of the host program."},
    {16994, "the required suite \\'^0\\' is unavailable"},
};

std::string Loaded(HMODULE module, int id)
{
    char text[512] = "";
    int length = LoadStringA(module, id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

bool StringBlockExists(HMODULE module, int id, WORD language)
{
    return FindResourceExA(module, MAKEINTRESOURCEA(6) /* RT_STRING */, MAKEINTRESOURCEA(id / 16 + 1), language) != nullptr;
}

class ModuleTexts : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module.handle, nullptr); }
    RealModule module;
};

TEST_F(ModuleTexts, RunUsesTheIntendedUserInterfaceLanguage)
{
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), FrenchRun() ? LANG_FRENCH : LANG_ENGLISH);
    EXPECT_EQ(GetACP(), 1252u) << "the texts below are the cp1252 bytes";
}

TEST_F(ModuleTexts, HostTextsAreEnglishInEveryLanguage)
{
    for (auto [id, text] : HostTexts)
        EXPECT_EQ(Loaded(module.handle, id), text) << "string " << id;
}

TEST_F(ModuleTexts, TablesExistInTheirLanguagesOnly)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const WORD french = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
    EXPECT_TRUE(StringBlockExists(module.handle, MESSAGE_CONVERTER_NOT_FOUND, english));
    EXPECT_TRUE(StringBlockExists(module.handle, MESSAGE_CONVERTER_NOT_FOUND, french));
    for (int id : {HOST_TEXT_UNREACHABLE, HOST_TEXT_SUITE_MISSING}) {
        EXPECT_TRUE(StringBlockExists(module.handle, id, french)) << id;
        EXPECT_FALSE(StringBlockExists(module.handle, id, english)) << id;
    }
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ModuleInstance = GetModuleHandleA(nullptr); }  // carries the module's texts
    void TearDown() override { ModuleInstance = nullptr; }
};

TEST_F(MessageBoxTest, ShowsTheTextUnderTheCaptionOmbrixWithWarningIconAndOk)
{
    for (const Message& m : Messages) {
        SCOPED_TRACE(m.id);
        DialogWatcher watcher;
        EXPECT_EQ(ShowMessage(int16_t(m.id)), IDOK);
        EXPECT_FALSE(watcher.TimedOut());
        ASSERT_EQ(watcher.Windows().size(), 1u);
        const WatchedWindow& box = watcher.Windows()[0];
        EXPECT_EQ(box.caption, "Ombrix");
        EXPECT_EQ(box.MessageText(), FrenchRun() ? m.french : m.english);
        EXPECT_EQ(box.VisibleButtons(), std::vector<std::string>{"OK"});
        EXPECT_EQ(box.ImageOf(SS_ICON), LoadIconA(nullptr, IDI_WARNING));
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST_F(MessageBoxTest, LongTextShowsIts255FirstCharacters)
{
    DialogWatcher watcher;
    ShowMessage(30001);  // 300 characters
    ASSERT_EQ(watcher.Windows().size(), 1u);
    std::string digits;
    for (int i = 0; i < 26; ++i)
        digits += "0123456789";
    EXPECT_EQ(watcher.Windows()[0].MessageText(), digits.substr(0, 255));
}

TEST_F(MessageBoxTest, MissingTextShowsAnEmptyBox)
{
    DialogWatcher watcher;
    ShowMessage(99);
    ASSERT_EQ(watcher.Windows().size(), 1u);
    EXPECT_EQ(watcher.Windows()[0].MessageText(), "");
    EXPECT_EQ(watcher.Windows()[0].caption, "Ombrix");
}

}  // namespace
