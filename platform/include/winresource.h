// The program's resources, read from the compiled resource file embedded in it. A lookup
// that finds nothing is null (0) with ERROR_RESOURCE_TYPE_NOT_FOUND, _NAME_NOT_FOUND or
// _LANG_NOT_FOUND, or ERROR_RESOURCE_DATA_NOT_FOUND for a module whose resource file is
// missing or malformed; a resource that does not parse gives ERROR_INVALID_DATA.
#pragma once

#include "windef.h"
#include "wingdi.h"

// A resource number passed where a name is expected: the low 16 bits of a pointer.
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEW(i)
#define IS_INTRESOURCE(r) ((reinterpret_cast<std::uintptr_t>(r) >> 16) == 0)

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

#define FVIRTKEY TRUE
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};
using LPACCEL = ACCEL*;

// The handset's language (Spanish) first, then neutral, then any; the same HRSRC each time.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// Only the resource in `language`; note the order of type and name.
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
// The same handle each time, never to be freed; null with ERROR_INVALID_HANDLE for a
// resource not found in `module`.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The resource's bytes, read-only however typed, for as long as its module is loaded.
LPVOID LockResource(HGLOBAL data);
// 0 for a resource not found in `module`.
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Copies string `id` into `buffer` (at most max - 1 units, then a NUL) and returns its
// length; with max 0, stores a read-only pointer to the string (not NUL-terminated)
// into *buffer instead. 0 when there is no such string, with ERROR_INVALID_PARAMETER
// for a null buffer or a negative max.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max);

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyAcceleratorTable(HACCEL table);

// The group's largest image; one stored as PNG gives an icon that draws nothing.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);

// A new bitmap each time, for DeleteObject.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
