// Windows, messages and painting requests.
#pragma once

#include "windef.h"

// Marks `rect` of the client area (the whole of it when null) for repainting; the
// paint itself comes later, as WM_PAINT, once the message queue is otherwise empty.
// `erase` asks BeginPaint to erase the background first.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
