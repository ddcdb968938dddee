// Reads a dialog resource (plain or extended template) into plain fields, so
// that tests can compare what the module ships with what it should.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct DialogTemplateItem {
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;              // as a signed 16-bit value
    std::string className;   // lower case; predefined classes by name ("static", "button")
    std::string text;        // UTF-8
    int textOrdinal = -1;    // a resource number given instead of a text
};

struct DialogTemplate {
    bool extended = false;
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0, weight = 0, italic = 0, charset = 0;
    std::string font;
    std::vector<DialogTemplateItem> items;
};

// False when the dialog does not exist in that language.
bool ReadDialogTemplate(HMODULE module, const char* name, WORD language, DialogTemplate& result);
