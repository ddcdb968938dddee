// Sorting the entries of the output folder by their names alone.
#pragma once

bool IsJpegName(const char* name);
bool IsTiffName(const char* name);
bool IsDngName(const char* name);
bool IsSupportedName(const char* name);
