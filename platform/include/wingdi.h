// Drawing: device contexts, pens and block transfers on 32-bit pixel buffers.
#pragma once

#include "windef.h"

DECLARE_HANDLE(HDC);
using HGDIOBJ = void*;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HBITMAP = HGDIOBJ;

#define RGB(r, g, b)                                                                             \
  (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                         (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))

#define PS_SOLID 0

#define SRCCOPY 0x00CC0020U
#define SRCAND 0x008800C6U
#define SRCPAINT 0x00EE0086U

HPEN CreatePen(int style, int width, COLORREF colour);
// Returns the object of the same kind that `object` replaces in `dc`.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position to (x, y) with the selected pen; (x, y) becomes the
// current position.
BOOL LineTo(HDC dc, int x, int y);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
