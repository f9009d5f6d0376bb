// The taskbar, drawn by the handset itself above every window.
#include "platform/window/taskbar.h"

#include <winuser.h>

#include <string>

#include "platform/gdi/surface_dc.h"
#include "platform/window/window_state.h"

namespace handset {

namespace {

constexpr COLORREF kBarColour = RGB(16, 40, 96);
constexpr COLORREF kTextColour = RGB(255, 255, 255);

bool WantsOk(HWND window) {
  const auto found = WindowOf(window);
  return found && (found->exStyle & WS_EX_CAPTIONOKBTN) != 0;
}

std::u16string Clock() {
  const WindowState& state = Windows();
  const DWORD minutes = (state.now - state.bootTicks) / 60000U + state.clockBaseMinutes;
  const DWORD hours = (minutes / 60U) % 24U;
  const std::string text = std::to_string(hours) + (minutes % 60U < 10 ? ":0" : ":") + std::to_string(minutes % 60U);
  return {text.begin(), text.end()};
}

}  // namespace

RECT TaskbarOkButton() {
  const WindowState& state = Windows();
  if (!WantsOk(state.foreground)) {
    return {0, 0, 0, 0};
  }
  const int bar = state.screenSize.BarHeight();
  return {state.screenSize.width - 2 * bar, 0, state.screenSize.width, bar};
}

void DrawTaskbar() {
  WindowState& state = Windows();
  const auto foreground = WindowOf(state.foreground);
  const std::u16string title = foreground ? foreground->title : u"";
  const std::u16string right = WantsOk(state.foreground) ? u"ok" : Clock();
  if (state.taskbarDrawn && title == state.taskbarTitle && right == state.taskbarRight) {
    return;
  }
  state.taskbarDrawn = true;
  state.taskbarTitle = title;
  state.taskbarRight = right;

  const int bar = state.screenSize.BarHeight();
  const RECT area{0, 0, state.screenSize.width, bar};
  HDC dc = CreateSurfaceDC(state.screen, POINT{0, 0}, {area});
  HBRUSH brush = CreateSolidBrush(kBarColour);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);
  SIZE size{};
  GetTextExtentPoint32W(dc, right.data(), static_cast<int>(right.size()), &size);
  const int textTop = (bar - size.cy) / 2;
  ExtTextOutW(dc, bar / 4, textTop, 0, nullptr, title.data(), static_cast<UINT>(title.size()), nullptr);
  const RECT ok = TaskbarOkButton();
  const int rightEdge = state.screenSize.width - bar / 4;
  if (ok.right > ok.left) {
    HPEN pen = CreatePen(PS_SOLID, 1, kTextColour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, ok.left, ok.top + 2, nullptr);
    LineTo(dc, ok.left, ok.bottom - 2);
    SelectObject(dc, old);
    DeleteObject(pen);
    ExtTextOutW(dc, (ok.left + ok.right - size.cx) / 2, textTop, 0, nullptr, right.data(),
                static_cast<UINT>(right.size()), nullptr);
  } else {
    ExtTextOutW(dc, rightEdge - size.cx, textTop, 0, nullptr, right.data(), static_cast<UINT>(right.size()), nullptr);
  }
  DeleteDC(dc);
}

}  // namespace handset
