// The dialogs and the About picture as the module ships them, in the
// languages the loader can choose from.
#include <gtest/gtest.h>

#include <string>

#include "RealModule.h"
#include "resources/ResourceIds.h"

namespace {

const WORD English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD French = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

class ShippedResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module.handle, nullptr); }
    RealModule module;
};

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

RECT RectIn(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The About box as the user sees it, whatever language the system speaks:
// the picture over the whole box and the default OK button in its lower
// right corner.
TEST_F(ShippedResources, AboutBoxIsThePictureWithTheDefaultOkInItsLowerRightCorner)
{
    EXPECT_EQ(FindResourceExA(module.handle, MAKEINTRESOURCEA(5) /* RT_DIALOG */, "ABOUT", French), nullptr)
        << "English only";
    HWND dialog = CreateDialogParamA(module.handle, "ABOUT", nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT client;
    GetClientRect(dialog, &client);
    HWND picture = GetWindow(dialog, GW_CHILD);
    HWND ok = GetDlgItem(dialog, IDOK);
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(ok, nullptr);
    BITMAP shown{};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof shown, &shown);
    RECT pictureRect = RectIn(dialog, picture);
    RECT okRect = RectIn(dialog, ok);
    char okText[16] = "";
    GetWindowTextA(ok, okText, sizeof okText);
    LONG okStyle = GetWindowLongA(ok, GWL_STYLE);
    DestroyWindow(dialog);

    EXPECT_EQ(shown.bmWidth, 510);
    EXPECT_EQ(shown.bmHeight, 281);
    EXPECT_EQ(pictureRect.left, 0);
    EXPECT_EQ(pictureRect.top, 0);
    EXPECT_NEAR(client.right, shown.bmWidth, shown.bmWidth / 10) << "the picture fills the box";
    EXPECT_NEAR(client.bottom, shown.bmHeight, shown.bmHeight / 10);
    EXPECT_STREQ(okText, "OK");
    EXPECT_EQ(okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_GT(okRect.left, client.right / 2);
    EXPECT_GT(okRect.top, client.bottom / 2);
    EXPECT_LE(okRect.right, client.right);
    EXPECT_LE(okRect.bottom, client.bottom);
}

std::string TemplateBytes(HMODULE module, WORD language)
{
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, "UIPARAM", language);
    if (found == nullptr)
        return "";
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    std::string text(bytes, SizeofResource(module, found));
    while (!text.empty() && text.back() == '\0')
        text.pop_back();  // the padding after the last control
    return text;
}

// Without the last character's high byte, as TemplateBytes trims it.
std::string Utf16(const std::string& ascii)
{
    std::string wide;
    for (char c : ascii)
        wide += {c, '\0'};
    wide.pop_back();
    return wide;
}

TEST_F(ShippedResources, ProgressDialogsOfBothLanguagesDifferOnlyInTheirText)
{
    std::string english = TemplateBytes(module.handle, English);
    std::string french = TemplateBytes(module.handle, French);
    const std::string englishText = Utf16("Import in progress. Please wait ...");
    size_t at = english.find(englishText);
    ASSERT_NE(at, std::string::npos);
    english.replace(at, englishText.size(), Utf16("Importation en cours. Merci de patienter ..."));
    EXPECT_EQ(english, french);
}

TEST_F(ShippedResources, AboutPictureIsA510By281BottomUp555BitmapAt72Dpi)
{
    EXPECT_EQ(FindResourceExA(module.handle, MAKEINTRESOURCEA(2) /* RT_BITMAP */, MAKEINTRESOURCEA(ABOUT_BITMAP_ID),
                              English),
              nullptr)
        << "French only";
    HRSRC found = FindResourceExA(module.handle, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(ABOUT_BITMAP_ID), French);
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(module.handle, found);
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module.handle, found)));
    ASSERT_NE(bytes, nullptr);
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER));

    BITMAPINFOHEADER header;
    memcpy(&header, bytes, sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 510);
    EXPECT_EQ(header.biHeight, 281) << "positive: rows stored bottom-up";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 16);
    EXPECT_EQ(header.biCompression, DWORD(BI_RGB)) << "5-5-5 without masks";
    EXPECT_EQ(header.biSizeImage, 286622u);
    EXPECT_EQ(header.biXPelsPerMeter, 2834);
    EXPECT_EQ(header.biYPelsPerMeter, 2834);
    EXPECT_EQ(header.biClrUsed, 0u) << "no colour table";
    EXPECT_EQ(header.biClrImportant, 0u);
    ASSERT_EQ(size, 40u + 286622u) << "the pixels follow the header at once, two bytes more than 281 rows";

    // Every pixel keeps its top bit clear, and the picture is more than a few flat colours.
    const BYTE* pixels = bytes + 40;
    int topBitsSet = 0;
    std::vector<bool> seen(0x8000);
    int colours = 0;
    for (DWORD i = 0; i < 281u * 1020u; i += 2) {
        uint16_t pixel = uint16_t(pixels[i] | pixels[i + 1] << 8);
        topBitsSet += (pixel & 0x8000) != 0;
        if (!seen[pixel & 0x7FFF]) {
            seen[pixel & 0x7FFF] = true;
            ++colours;
        }
    }
    EXPECT_EQ(topBitsSet, 0);
    EXPECT_GT(colours, 256);
}

TEST_F(ShippedResources, ProgressDialogSpeaksTheUsersLanguage)
{
    HWND dialog = CreateDialogParamA(module.handle, "UIPARAM", nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    char caption[64] = "", text[128] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    HWND label = GetWindow(dialog, GW_CHILD);
    GetWindowTextA(label, text, sizeof text);
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    bool hasNextControl = GetWindow(label, GW_HWNDNEXT) != nullptr;
    DestroyWindow(dialog);

    EXPECT_STREQ(caption, "Ombrix Import Plugin ");
    EXPECT_STREQ(text, FrenchRun() ? "Importation en cours. Merci de patienter ..." : "Import in progress. Please wait ...");
    EXPECT_EQ(style & WS_SYSMENU, 0) << "no close box";
    EXPECT_FALSE(hasNextControl) << "no button";
}

}  // namespace
