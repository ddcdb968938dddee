// The module's own warning boxes, with texts from its string table.
#pragma once

#include <cstdint>

constexpr int16_t MessageConverterNotFound = 1;
constexpr int16_t MessageConverterLaunchFailed = 2;
constexpr int16_t MessageImportFailed = 3;
constexpr int16_t MessageUnsupportedImage = 4;

int ShowMessage(int16_t id);
