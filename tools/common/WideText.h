// Text crosses into Windows as UTF-16 and leaves it as UTF-8: the tools'
// strings (paths, command lines, variables, registry values) are UTF-8, so
// that every name Windows allows fits them and the JSON files alike.
#pragma once

#include <string>

// Ill-formed UTF-8 becomes U+FFFD; a lone surrogate of wide text likewise.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
std::string WideToUtf8(const wchar_t* text);
// 8-bit text of the ANSI code page (what an 8-bit reader holds) in UTF-16.
std::wstring AnsiToWide(const std::string& text);
