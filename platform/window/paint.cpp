// Invalid areas and the paint canvas: a surface context on the screen, clipped to what
// of the window shows and to the part being repainted.
#include <winbase.h>
#include <winuser.h>

#include "platform/gdi/surface_dc.h"
#include "platform/handset/refuse.h"
#include "platform/window/regions.h"
#include "platform/window/taskbar.h"
#include "platform/window/window_state.h"
#include "platform/window/window_tree.h"

using handset::WindowOf;

namespace {
RECT ClientOf(const handset::Window& window) {
  return {0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
}
}  // namespace

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  const auto found = WindowOf(window);
  if (!found) {
    handset::Refuse("InvalidateRect", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const RECT client = ClientOf(*found);
  const RECT area = rect == nullptr ? client : handset::IntersectRects(*rect, client);
  if (handset::IsEmpty(area)) {
    return TRUE;
  }
  found->invalidRect = found->invalid ? handset::UnionRects(found->invalidRect, area) : area;
  found->invalid = true;
  found->erase = found->erase || erase != FALSE;
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  const auto found = WindowOf(window);
  if (!found) {
    handset::Refuse("ValidateRect", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // One bounding rectangle: validating part of it keeps the whole of it pending.
  if (rect == nullptr || handset::Subtract({found->invalidRect}, *rect).empty()) {
    found->invalid = false;
    found->erase = false;
  }
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  const auto found = WindowOf(window);
  if (!found) {
    handset::Refuse("UpdateWindow", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (found->visible && found->invalid) {
    SendMessageW(window, WM_PAINT, 0, 0);
  }
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  const auto found = WindowOf(window);
  if (!found || paint == nullptr) {
    handset::Refuse("BeginPaint", !found ? "not a window" : "no PAINTSTRUCT", ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  const RECT area = found->invalid ? found->invalidRect : RECT{0, 0, 0, 0};
  const bool erase = found->invalid && found->erase;
  found->invalid = false;
  found->erase = false;
  handset::WindowState& state = handset::Windows();
  std::vector<RECT>& clip = state.paintClip;
  clip.clear();
  if (found->visible) {
    handset::VisibleRegion(*found, clip, state.paintScratch);
    // The visible pieces cut to the area to paint, in place.
    const RECT screenArea = handset::Offset(area, found->rect.left, found->rect.top);
    std::size_t kept = 0;
    for (const RECT& visible : clip) {
      const RECT piece = handset::IntersectRects(visible, screenArea);
      if (!handset::IsEmpty(piece)) {
        clip[kept++] = piece;
      }
    }
    clip.resize(kept);
  }
  HDC dc = handset::CreateSurfaceDC(state.screen, POINT{found->rect.left, found->rect.top}, clip);
  paint->hdc = dc;
  paint->rcPaint = area;
  found->painting = true;
  paint->fErase = TRUE;
  if (erase) {
    paint->fErase = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  } else {
    paint->fErase = FALSE;
  }
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr) {
    return FALSE;
  }
  if (const auto found = WindowOf(window)) {
    found->painting = false;
  }
  DeleteDC(paint->hdc);
  handset::DrawTaskbar();
  return TRUE;
}
