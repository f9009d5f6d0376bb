// Win32 base types with their Windows widths on a 64-bit Linux build: LONG and DWORD
// stay 32 bits, handles and message parameters are pointer sized, and WCHAR is UTF-16
// (text literals are written TEXT("...")).
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using INT = int;
using UINT = unsigned int;
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using HRESULT = std::int32_t;
using LPVOID = void*;
using LPCVOID = const void*;
using COLORREF = DWORD;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = WORD;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;

#define TRUE 1
#define FALSE 0
#define TEXT(s) u##s

// Handles are distinct pointer types, as with STRICT on Windows, so that a window
// cannot be passed where a device context is expected.
// A type name cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  using name = name##__*
// NOLINTEND(bugprone-macro-parentheses)

using HANDLE = void*;
using HGLOBAL = HANDLE;
using HLOCAL = HANDLE;
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
using HMODULE = HINSTANCE;
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HACCEL);
DECLARE_HANDLE(HRSRC);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HKEY);

// An entry point found by name; callers cast it to the function type they expect.
using FARPROC = std::intptr_t (*)();

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;

struct POINT {
  LONG x;
  LONG y;
};

struct SIZE {
  LONG cx;
  LONG cy;
};
