// Windows, messages and painting requests.
#pragma once

#include "windef.h"
#include "wingdi.h"

// Marks `rect` of the client area (the whole of it when null) for repainting; the
// paint itself comes later, as WM_PAINT, once the message queue is otherwise empty.
// `erase` asks BeginPaint to erase the background first.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);

// Fills `rect` (right and bottom excluded) with `brush`, clipped to the canvas.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
