#include "DialogTemplate.h"

#include <cctype>

namespace {

class Reader {
public:
    explicit Reader(const BYTE* bytes) : start(bytes), at(bytes) {}

    uint16_t Word()
    {
        uint16_t value = uint16_t(at[0] | at[1] << 8);
        at += 2;
        return value;
    }
    uint32_t Dword()
    {
        uint32_t low = Word();
        return low | uint32_t(Word()) << 16;
    }
    int Short() { return int16_t(Word()); }
    uint8_t Byte() { return *at++; }
    void AlignToDword()
    {
        while ((at - start) % 4 != 0)
            ++at;
    }

    std::string Text()
    {
        std::wstring wide;
        for (uint16_t c = Word(); c != 0; c = Word())
            wide.push_back(wchar_t(c));
        char utf8[1024] = "";
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
        return utf8;
    }

    // A text or, after 0xFFFF, a number.
    std::string TextOrNumber(int* number)
    {
        *number = -1;
        if (at[0] == 0xFF && at[1] == 0xFF) {
            Word();
            *number = Word();
            return "";
        }
        return Text();
    }

private:
    const BYTE* start;
    const BYTE* at;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string PredefinedClass(int atom)
{
    switch (atom) {
    case 0x80: return "button";
    case 0x81: return "edit";
    case 0x82: return "static";
    case 0x83: return "listbox";
    case 0x84: return "scrollbar";
    case 0x85: return "combobox";
    default: return "unknown predefined class";
    }
}

}  // namespace

bool ReadDialogTemplate(HMODULE module, const char* name, WORD language, DialogTemplate& t)
{
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, name, language);
    if (found == nullptr)
        return false;
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (bytes == nullptr)
        return false;

    Reader r(bytes);
    t = DialogTemplate{};
    t.extended = bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (t.extended) {
        r.Dword();
        t.helpId = r.Dword();
        t.exStyle = r.Dword();
        t.style = r.Dword();
    } else {
        t.style = r.Dword();
        t.exStyle = r.Dword();
    }
    int count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    int number;
    r.TextOrNumber(&number);  // menu
    r.TextOrNumber(&number);  // window class
    t.caption = r.Text();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.extended) {
            t.weight = r.Word();
            t.italic = r.Byte();
            t.charset = r.Byte();
        }
        t.font = r.Text();
    }

    for (int i = 0; i < count; ++i) {
        r.AlignToDword();
        DialogTemplateItem item;
        if (t.extended) {
            item.helpId = r.Dword();
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = t.extended ? int16_t(r.Dword()) : r.Short();
        int atom;
        item.className = Lower(r.TextOrNumber(&atom));
        if (atom >= 0)
            item.className = PredefinedClass(atom);
        item.text = r.TextOrNumber(&item.textOrdinal);
        int extra = r.Word();
        for (int b = 0; b < extra; ++b)
            r.Byte();
        t.items.push_back(item);
    }
    return true;
}
