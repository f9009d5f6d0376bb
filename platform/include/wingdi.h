// Drawing: device contexts, bitmaps, pens, brushes, text and block transfers on 32-bit
// pixel buffers. Coordinates outside a canvas are clipped, never an error.
#pragma once

#include "windef.h"

DECLARE_HANDLE(HDC);
using HGDIOBJ = void*;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HFONT = HGDIOBJ;

#define RGB(r, g, b)                                                                                                   \
  (static_cast<COLORREF>(static_cast<DWORD>(static_cast<BYTE>(r)) | (static_cast<DWORD>(static_cast<BYTE>(g)) << 8U) | \
                         (static_cast<DWORD>(static_cast<BYTE>(b)) << 16U)))
#define GetRValue(c) (static_cast<BYTE>(c))
#define GetGValue(c) (static_cast<BYTE>((c) >> 8))
#define GetBValue(c) (static_cast<BYTE>((c) >> 16))
#define CLR_INVALID 0xFFFFFFFFU

#define PS_SOLID 0
#define PS_NULL 5

#define SRCCOPY 0x00CC0020U
#define SRCAND 0x008800C6U
#define SRCPAINT 0x00EE0086U

// GetStockObject
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13

// SetBkMode
#define TRANSPARENT 1
#define OPAQUE 2

// ExtTextOutW options
#define ETO_OPAQUE 0x0002U
#define ETO_CLIPPED 0x0004U

// GetObjectW on a bitmap.
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A new bitmap of the device's format (32 bits a pixel), all black.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HGDIOBJ GetStockObject(int object);
// Returns the object of the same kind that `object` replaces in `dc`, or null when it
// cannot be selected (a bitmap already held by another device context).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Refuses (FALSE) while the object is selected into a device context; stock objects
// are never freed.
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position to (x, y) with the selected pen; (x, y) becomes the
// current position. Widths 0 and 1 leave the end point undrawn; wider pens are round
// at both ends.
BOOL LineTo(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);

COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF SetTextColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);
// Draws `count` characters with their top left at (x, y) in the device context's font:
// glyphs in the text colour on character cells in the background colour (when the
// background mode is opaque).
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* spacing);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
