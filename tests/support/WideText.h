// The tests name files in UTF-8; the module holds them as UTF-16.
#pragma once

#include <string>
#include <string_view>

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// 8-bit text of the ANSI code page, as an 8-bit reader holds it, in UTF-16.
std::wstring FromAnsi(std::string_view ansi);
