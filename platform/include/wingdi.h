// Drawing: device contexts, bitmaps, pens, brushes, text and block transfers on 32-bit
// pixel buffers. Coordinates outside a canvas are clipped, never an error. A handle that
// names no device context or object fails the call (FALSE, null, 0 or CLR_INVALID); a call
// refused for a malformed argument, or for what the handset does not implement, sets the
// last error and reports the refusal to the host.
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

// A memory context, whatever `dc` is, holding a 1 x 1 black bitmap, the black pen, the
// white brush and the system font.
HDC CreateCompatibleDC(HDC dc);
// Releases what is selected into it; those objects stay until DeleteObject.
BOOL DeleteDC(HDC dc);
// A new bitmap of the device's format (32 bits a pixel), all black. Null with
// ERROR_INVALID_PARAMETER for a side not positive or past 2^27 pixels in all.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Null for a number not defined above.
HGDIOBJ GetStockObject(int object);
// Returns the object of the same kind that `object` replaces in `dc`, or null when it
// cannot be selected (a bitmap already held by another device context, or any bitmap
// into a paint canvas, which keeps the screen's).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Refuses (FALSE) while the object is selected into a device context; stock objects
// are never freed.
BOOL DeleteObject(HGDIOBJ object);
// Bitmaps only: fills a BITMAP (32 bits a pixel, no bmBits) and returns its size, or the
// size alone for a null buffer. 0 for another object or, with ERROR_INVALID_PARAMETER, a
// short buffer.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

// PS_SOLID and PS_NULL only (null, ERROR_INVALID_PARAMETER, for another style); a negative
// width counts as 0.
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position to (x, y) with the selected pen; (x, y) becomes the
// current position. Widths 0 and 1 leave the end point undrawn; wider pens are round
// at both ends.
BOOL LineTo(HDC dc, int x, int y);
// Returns `colour` as given: the canvas holds every 24-bit colour exactly.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// CLR_INVALID outside the canvas or its clipping.
COLORREF GetPixel(HDC dc, int x, int y);
// SRCCOPY, SRCAND and SRCPAINT only (FALSE, ERROR_INVALID_PARAMETER, for another rop); an
// overlapping copy within one bitmap is safe, an empty block draws nothing and is TRUE.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);

COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF SetTextColor(HDC dc, COLORREF colour);
// 0 with ERROR_INVALID_PARAMETER for a mode but OPAQUE and TRANSPARENT.
int SetBkMode(HDC dc, int mode);
// Draws `count` characters, top left at (x, y), in the system font whatever is selected:
// glyphs in the text colour on cells in the background colour when the mode is opaque.
// ETO_OPAQUE fills `rect` and ETO_CLIPPED clips to it; other options are refused.
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* spacing);
// In the system font; FALSE with ERROR_INVALID_PARAMETER for no context, no `size` or a
// negative count.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
