// The keyboard and touch drivers: input becomes posted messages, so it reaches the
// program in order with everything else its loops take from the queue.
#include "platform/window/input.h"

#include <memory>

#include "platform/window/taskbar.h"
#include "platform/window/window_state.h"

namespace handset {

namespace {

bool Inside(const RECT& rect, POINT at) {
  return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

// The soft-key bar the shell made for `owner`, if it shows.
HWND BarOf(HWND owner) {
  for (const HWND handle : Windows().stack) {
    const auto window = WindowOf(handle);
    if (window && window->kind == Window::Kind::MenuBar && window->visible && window->owner == owner) {
      return handle;
    }
  }
  return nullptr;
}

// An open pop-up menu takes every tap, those outside it included, to close itself.
HWND OpenMenu() {
  for (const HWND handle : Windows().stack) {
    const auto window = WindowOf(handle);
    if (window && window->kind == Window::Kind::Menu && window->visible) {
      return handle;
    }
  }
  return nullptr;
}

HWND WindowAt(POINT at) {
  for (const HWND handle : Windows().stack) {
    const auto window = WindowOf(handle);
    if (window && window->visible && Inside(window->rect, at)) {
      return handle;
    }
  }
  return nullptr;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Windows().posted.push_back(MSG{window, message, wParam, lParam, Windows().now, {}});
}

LPARAM ClientPoint(const Window& window, POINT at) {
  return MAKELPARAM(static_cast<WORD>(at.x - window.rect.left), static_cast<WORD>(at.y - window.rect.top));
}

}  // namespace

void PressKey(UINT virtualKey, bool control) {
  const WindowState& state = Windows();
  HWND target = state.focus != nullptr ? state.focus : state.foreground;
  if (virtualKey == VK_F1 || virtualKey == VK_F2) {
    if (const HWND bar = BarOf(state.foreground)) {
      target = bar;
    }
  }
  if (target == nullptr) {
    return;
  }
  // Repeat count 1; key-up messages carry the previous-state and transition bits.
  constexpr LPARAM kDown = 1;
  constexpr LPARAM kUp = static_cast<LPARAM>(0xC0000001U);
  if (control) {
    Post(target, WM_KEYDOWN, VK_CONTROL, kDown);
  }
  Post(target, WM_KEYDOWN, virtualKey, kDown);
  Post(target, WM_KEYUP, virtualKey, kUp);
  if (control) {
    Post(target, WM_KEYUP, VK_CONTROL, kUp);
  }
}

void Tap(POINT at) {
  const WindowState& state = Windows();
  if (Inside(TaskbarOkButton(), at)) {
    Post(state.foreground, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    return;
  }
  HWND target = OpenMenu();
  if (target == nullptr) {
    target = WindowAt(at);
  }
  const auto window = WindowOf(target);
  // A window under a box is disabled: the tap is lost, as on the device.
  if (!window || !window->enabled) {
    return;
  }
  Post(target, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(*window, at));
  Post(target, WM_LBUTTONUP, 0, ClientPoint(*window, at));
}

}  // namespace handset
