// The whole content of a file, for tests that check what a program wrote.
#pragma once

#include <string>

// Empty when the file cannot be read. The path is UTF-8 (any name).
std::string ReadFileBytes(const std::string& path);
