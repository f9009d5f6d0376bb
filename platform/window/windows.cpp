// Creating, placing, showing, finding and destroying windows.
#include <winbase.h>
#include <winuser.h>

#include <algorithm>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/window/regions.h"
#include "platform/window/window_names.h"
#include "platform/window/window_state.h"
#include "platform/window/window_tree.h"

using handset::WindowOf;
using handset::Windows;

namespace {

// The window, or null with `function` refused.
std::shared_ptr<handset::Window> Open(const char* function, HWND window) {
  auto found = WindowOf(window);
  if (!found) {
    handset::Refuse(function, "not a window", ERROR_INVALID_WINDOW_HANDLE);
  }
  return found;
}

// CW_USEDEFAULT takes the work area: below the taskbar, down to the screen's bottom.
RECT PlaceWindow(int x, int y, int width, int height) {
  const RECT work = Windows().screenSize.WorkArea();
  const LONG left = x == CW_USEDEFAULT ? work.left : x;
  const LONG top = x == CW_USEDEFAULT ? work.top : y;
  const LONG right = width == CW_USEDEFAULT ? work.right : left + width;
  const LONG bottom = width == CW_USEDEFAULT || height == CW_USEDEFAULT ? work.bottom : top + height;
  return {left, top, std::max(left, right), std::max(top, bottom)};
}

void PublishWindows() {
  if (const auto& publish = Windows().session.publish) {
    publish();
  }
}

void Hide(handset::Window& window) {
  if (!window.visible) {
    return;
  }
  window.visible = false;
  handset::Expose(window.rect, window.handle);
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  handset::WindowState& state = Windows();
  const auto found = className == nullptr ? state.classes.end() : state.classes.find(handset::FoldCase(className));
  if (found == state.classes.end()) {
    handset::Refuse("CreateWindowExW", "no such window class", ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if ((style & WS_CHILD) != 0) {
    // Child windows are not part of this handset: boxes draw their own controls.
    handset::Refuse("CreateWindowExW", "child windows are not supported", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto window = std::make_shared<handset::Window>();
  window->windowClass = found->second;
  window->procedure = found->second->procedure;
  window->title = title != nullptr ? title : u"";
  window->style = style;
  window->exStyle = exStyle;
  window->rect = PlaceWindow(x, y, width, height);
  window->owner = parent;
  window->instance = instance;
  const HWND handle = static_cast<HWND>(handset::TheHandset().objects.Add(window));
  window->handle = handle;
  handset::BringToTop(handle);
  PublishWindows();

  CREATESTRUCTW create{};
  create.lpCreateParams = parameter;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.x = window->rect.left;
  create.y = window->rect.top;
  create.cx = window->rect.right - window->rect.left;
  create.cy = window->rect.bottom - window->rect.top;
  create.style = static_cast<LONG>(style);
  create.lpszName = title;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  if (SendMessageW(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if ((style & WS_VISIBLE) != 0 && IsWindow(handle)) {
    ShowWindow(handle, SW_SHOW);
  }
  return handle;
}

BOOL DestroyWindow(HWND window) {
  // Not a refusal: owned windows go with their owner, so a program cannot always know
  // that a window it destroys is gone already.
  const auto found = WindowOf(window);
  if (!found) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  }
  if (!found || found->destroying) {
    return found ? TRUE : FALSE;
  }
  found->destroying = true;
  // Owned windows go first, as on Windows.
  for (const HWND owned : handset::OwnedWindows(window)) {
    DestroyWindow(owned);
  }
  Hide(*found);
  handset::WindowState& state = Windows();
  if (state.foreground == window) {
    handset::Activate(handset::NextForeground(window));
  }
  if (state.focus == window) {
    state.focus = state.foreground;
  }
  SendMessageW(window, WM_DESTROY, 0, 0);
  // Its timers and what was posted to it go with it, as on Windows: a key-up left behind
  // by the key that closed it would otherwise reach the program for a window that is gone.
  std::erase_if(state.timers, [&](const handset::Timer& t) { return t.window == window; });
  std::erase_if(state.posted, [&](const MSG& posted) { return posted.hwnd == window; });
  std::erase(state.stack, window);
  handset::TheHandset().objects.Remove(window);
  PublishWindows();
  return TRUE;
}

BOOL IsWindow(HWND window) { return WindowOf(window) ? TRUE : FALSE; }

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND: {
      const auto found = WindowOf(window);
      if (!found || found->windowClass->background == nullptr) {
        return 0;
      }
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, found->windowClass->background);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return 0;
  }
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  const auto found = Open("GetClientRect", window);
  if (!found || rect == nullptr) {
    if (found) {
      handset::Refuse("GetClientRect", "no rectangle", ERROR_INVALID_PARAMETER);
    }
    return FALSE;
  }
  *rect = {0, 0, found->rect.right - found->rect.left, found->rect.bottom - found->rect.top};
  return TRUE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  const auto found = Open("GetWindowRect", window);
  if (!found || rect == nullptr) {
    if (found) {
      handset::Refuse("GetWindowRect", "no rectangle", ERROR_INVALID_PARAMETER);
    }
    return FALSE;
  }
  *rect = found->rect;
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  const auto found = Open("MoveWindow", window);
  if (!found) {
    return FALSE;
  }
  const RECT before = found->rect;
  found->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
  if (found->visible) {
    // What the window no longer covers shows the windows below it.
    for (const RECT& uncovered : handset::Subtract({before}, found->rect)) {
      handset::Expose(uncovered, window);
    }
    if (repaint) {
      InvalidateRect(window, nullptr, TRUE);
    }
  }
  if (before.right - before.left != width || before.bottom - before.top != height) {
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(std::max(0, width), std::max(0, height)));
  }
  if (before.left != x || before.top != y) {
    SendMessageW(window, WM_MOVE, 0, MAKELPARAM(x, y));
  }
  return TRUE;
}

BOOL ShowWindow(HWND window, int command) {
  const auto found = Open("ShowWindow", window);
  if (!found) {
    return FALSE;
  }
  const BOOL wasVisible = found->visible ? TRUE : FALSE;
  if (command == SW_HIDE) {
    Hide(*found);
    if (Windows().foreground == window) {
      handset::Activate(handset::NextForeground(window));
    }
    return wasVisible;
  }
  if (!found->visible) {
    found->visible = true;
    InvalidateRect(window, nullptr, TRUE);
  }
  if (command != SW_SHOWNOACTIVATE && found->enabled) {
    handset::Activate(window);
  }
  return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  const auto found = Open("EnableWindow", window);
  if (!found) {
    return FALSE;
  }
  const BOOL wasDisabled = found->enabled ? FALSE : TRUE;
  const bool now = enable != FALSE;
  if (found->enabled != now) {
    found->enabled = now;
    if (!now && Windows().focus == window) {
      Windows().focus = nullptr;
    }
    SendMessageW(window, WM_ENABLE, now ? TRUE : FALSE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  const auto found = WindowOf(window);
  return found && found->enabled ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  const auto found = WindowOf(window);
  return found && found->visible ? TRUE : FALSE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR title) {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (!window || window->destroying) {
      continue;
    }
    const bool classMatches =
        className == nullptr || handset::FoldCase(className) == handset::FoldCase(window->windowClass->name);
    const bool titleMatches = title == nullptr || handset::FoldCase(title) == handset::FoldCase(window->title);
    if (classMatches && titleMatches) {
      return candidate;
    }
  }
  const auto& find = Windows().session.find;
  return find ? find(className, title) : nullptr;
}

BOOL SetForegroundWindow(HWND window) {
  // The lowest bit asks for the window's owned boxes to come forward with it.
  const auto value = reinterpret_cast<std::uintptr_t>(window);
  const bool withOwned = (value & 1U) != 0;
  const HWND handle = reinterpret_cast<HWND>(value & ~std::uintptr_t{1});
  const auto found = WindowOf(handle);
  if (!found) {
    if (!handset::TheHandset().objects.FindAny(handle)) {
      handset::Refuse("SetForegroundWindow", "not a window", ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    // Another copy's window, found through the session, comes forward through it.
    const auto& foreground = Windows().session.foreground;
    return foreground && foreground(handle, withOwned) ? TRUE : FALSE;
  }
  handset::BringToTop(handle);
  HWND active = handle;
  if (withOwned) {
    std::vector<HWND> owned = handset::OwnedWindows(handle);
    std::reverse(owned.begin(), owned.end());  // lowest first, so they keep their order on top
    for (const HWND above : owned) {
      handset::BringToTop(above);
      InvalidateRect(above, nullptr, TRUE);
      active = above;
    }
  }
  InvalidateRect(handle, nullptr, TRUE);
  handset::Activate(active);
  return TRUE;
}

HWND GetForegroundWindow() { return Windows().foreground; }

HWND SetFocus(HWND window) {
  handset::WindowState& state = Windows();
  const HWND previous = state.focus;
  if (window == nullptr || WindowOf(window)) {
    state.focus = window;
  }
  return previous;
}

HWND GetFocus() { return Windows().focus; }

HWND GetParent(HWND window) {
  const auto found = Open("GetParent", window);
  return found ? found->owner : nullptr;
}
