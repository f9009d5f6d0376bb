// What the vendor bindings share: typed look-ups by name and the one way they report.
#pragma once

#include <windows.h>

#include <bit>

// The entry point `name` of `library` as the type the program calls it by, or null.
template <typename Proc>
Proc EntryPoint(HMODULE library, LPCWSTR name) {
  return std::bit_cast<Proc>(GetProcAddressW(library, name));
}

// One box: `text`, caption "Error", an OK button, topmost; returns once dismissed.
inline void ReportError(HWND owner, LPCWSTR text) { MessageBoxW(owner, text, u"Error", MB_TOPMOST); }
