// Module texts and paths are in the system's ANSI code page; reports are
// UTF-8.
#pragma once

#include <string>

std::string AnsiToUtf8(const std::string& text);
std::string Utf8ToAnsi(const std::string& text);
