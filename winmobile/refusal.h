// How a shell call turns down what it cannot do: the program gets FALSE and the last
// error, and whoever started it reads one line saying which call and why.
#pragma once

#include <windows.h>

#include <string>

namespace winmobile {

// Says "function: reason" on standard error (when the program has one) and to a
// debugger, sets `error` as the last error and returns FALSE.
BOOL Refuse(const wchar_t* function, const std::wstring& reason, DWORD error);
// The same for a system call that failed: its last error is kept and named in the line.
BOOL RefuseFailed(const wchar_t* function, const std::wstring& reason);

// "0x..." for flags in a reason.
std::wstring Hex(DWORD value);

}  // namespace winmobile
