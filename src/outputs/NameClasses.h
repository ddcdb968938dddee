// Sorting the entries of the output folder by their names alone (the
// listing's names, UTF-16).
#pragma once

bool IsJpegName(const wchar_t* name);
bool IsTiffName(const wchar_t* name);
bool IsDngName(const wchar_t* name);
bool IsSupportedName(const wchar_t* name);
