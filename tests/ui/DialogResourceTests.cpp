// The dialogs and the About picture as the module ships them, in the
// languages the loader can choose from.
#include <gtest/gtest.h>

#include "DialogTemplate.h"
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

TEST_F(ShippedResources, AboutDialogIsAnEnglishExtendedTemplateWithPictureAndOk)
{
    DialogTemplate about;
    EXPECT_FALSE(ReadDialogTemplate(module.handle, "ABOUT", French, about)) << "English only";
    ASSERT_TRUE(ReadDialogTemplate(module.handle, "ABOUT", English, about));

    EXPECT_TRUE(about.extended);
    EXPECT_EQ(about.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(about.exStyle, 0u);
    EXPECT_EQ(about.helpId, 0u);
    EXPECT_EQ((std::vector<int>{about.x, about.y, about.cx, about.cy}), (std::vector<int>{0, 0, 340, 172}));
    EXPECT_EQ(about.caption, "About Ombrix");
    EXPECT_EQ(about.font, "MS Shell Dlg");
    EXPECT_EQ(about.pointSize, 8);
    EXPECT_EQ(about.weight, 0);
    EXPECT_EQ(about.italic, 0);
    EXPECT_EQ(about.charset, DEFAULT_CHARSET);

    ASSERT_EQ(about.items.size(), 2u);
    const DialogTemplateItem& picture = about.items[0];
    EXPECT_EQ(picture.className, "static");
    EXPECT_EQ(picture.id, -1);
    EXPECT_EQ(picture.style, DWORD(WS_CHILD | WS_VISIBLE | SS_BITMAP));
    EXPECT_EQ((std::vector<int>{picture.x, picture.y, picture.cx, picture.cy}), (std::vector<int>{0, 0, 340, 173}));
    EXPECT_EQ(picture.textOrdinal, ABOUT_BITMAP_ID);

    const DialogTemplateItem& ok = about.items[1];
    EXPECT_EQ(ok.className, "button");
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.style, DWORD(WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON));
    EXPECT_EQ((std::vector<int>{ok.x, ok.y, ok.cx, ok.cy}), (std::vector<int>{286, 147, 44, 16}));
    EXPECT_EQ(ok.text, "OK");
}

TEST_F(ShippedResources, ProgressDialogExistsInEnglishAndFrenchDifferingOnlyInItsText)
{
    const char* texts[] = {"Import in progress. Please wait ...", "Importation en cours. Merci de patienter ..."};
    const WORD languages[] = {English, French};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(languages[i]);
        DialogTemplate progress;
        ASSERT_TRUE(ReadDialogTemplate(module.handle, "UIPARAM", languages[i], progress));
        EXPECT_EQ(progress.style, DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT))
            << "no system menu, not visible";
        EXPECT_EQ(progress.exStyle, 0u);
        EXPECT_EQ((std::vector<int>{progress.x, progress.y, progress.cx, progress.cy}),
                  (std::vector<int>{68, 28, 324, 41}));
        EXPECT_EQ(progress.caption, "Ombrix Import Plugin ");
        EXPECT_EQ(progress.font, "Helv");
        EXPECT_EQ(progress.pointSize, 8);
        ASSERT_EQ(progress.items.size(), 1u);
        const DialogTemplateItem& text = progress.items[0];
        EXPECT_EQ(text.className, "static");
        EXPECT_EQ(text.id, -1);
        EXPECT_EQ(text.style, DWORD(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER | SS_CENTERIMAGE));
        EXPECT_EQ((std::vector<int>{text.x, text.y, text.cx, text.cy}), (std::vector<int>{6, 5, 310, 27}));
        EXPECT_EQ(text.text, texts[i]);
    }
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

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
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
