// What the vendor bindings share: typed look-ups by name and the one way they report.
#pragma once

#include <windows.h>

#include <cstring>

// The entry point `name` of `library` as the type the program calls it by, or null.
template <typename Proc>
Proc EntryPoint(HMODULE library, LPCWSTR name) {
  // Copied, not cast: a cast between function types draws a warning, and not every
  // toolchain the game is built with has std::bit_cast.
  const FARPROC found = GetProcAddressW(library, name);
  Proc proc = nullptr;
  static_assert(sizeof proc == sizeof found);
  std::memcpy(&proc, &found, sizeof proc);
  return proc;
}

// One box: `text`, caption "Error", an OK button, topmost; returns once dismissed.
inline void ReportError(HWND owner, LPCWSTR text) { MessageBoxW(owner, text, TEXT("Error"), MB_TOPMOST); }
