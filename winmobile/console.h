// A program's standard streams on Windows, where one started from the desktop has none.
#pragma once

#include <windows.h>

#include <string>

namespace winmobile {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// `line` and a line end, in UTF-8, on the standard stream `stream` (STD_OUTPUT_HANDLE or
// STD_ERROR_HANDLE); false when the program has none there or the write fails.
bool WriteLine(DWORD stream, const std::wstring& line);

// WriteLine, else a box with `caption`, so that the line is not lost.
void Tell(DWORD stream, const std::wstring& line, const wchar_t* caption, UINT icon);

}  // namespace winmobile
