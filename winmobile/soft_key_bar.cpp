// SHCreateMenuBar and the soft-key bar it makes: two labelled keys in a strip under the
// window's client area, pressed with F1 and F2 (the soft keys) or a click on their half.
#include <aygshell.h>

#include <memory>
#include <optional>
#include <string>

#include "bar_resource.h"
#include "gdi_handles.h"
#include "phone.h"
#include "phone_font.h"
#include "phone_frame.h"
#include "refusal.h"
#include "shell_look.h"
#include "soft_key_menu.h"
#include "window_class.h"
#include "window_records.h"

namespace winmobile {

namespace {

constexpr wchar_t kFunction[] = L"SHCreateMenuBar";
constexpr wchar_t kClassName[] = L"winmobile soft-key bar";

struct SoftKeyBar {
  HWND owner = nullptr;
  std::vector<SoftKey> keys;
  UniqueMenu menu;
  UniqueFont font;
  COLORREF background = look::kBar;
  int pressedHalf = -1;
  bool menuOpen = false;
};

WindowRecords<SoftKeyBar>& Bars() {
  static WindowRecords<SoftKeyBar> bars;
  return bars;
}

// The left key is the first button, the right key the second.
RECT HalfOf(const RECT& client, std::size_t key) {
  const LONG middle = client.right / 2;
  return key == 0 ? RECT{0, 0, middle, client.bottom} : RECT{middle, 0, client.right, client.bottom};
}

void PaintBar(HWND handle, const SoftKeyBar& bar) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  RECT client{};
  GetClientRect(handle, &client);
  const UniqueBrush brush(CreateSolidBrush(bar.background));
  FillRect(dc, &client, brush.get());
  const Selected font(dc, bar.font.get());
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < bar.keys.size(); ++i) {
    const SoftKey& key = bar.keys[i];
    const RECT half = HalfOf(client, i);
    SIZE size{};
    GetTextExtentPoint32W(dc, key.label.c_str(), static_cast<int>(key.label.size()), &size);
    SetTextColor(dc, (key.state & TBSTATE_ENABLED) != 0 ? look::kLabel : look::kDisabledLabel);
    ExtTextOutW(dc, (half.left + half.right - size.cx) / 2, (half.bottom - size.cy) / 2, ETO_CLIPPED, &half,
                key.label.c_str(), static_cast<UINT>(key.label.size()), nullptr);
  }
  EndPaint(handle, &paint);
}

void PressSoftKey(HWND handle, const std::shared_ptr<SoftKeyBar>& bar, std::size_t index) {
  // A disabled owner (a box of its is up) takes no commands, as it takes no input.
  if (bar->menuOpen || index >= bar->keys.size() || (bar->keys[index].state & TBSTATE_ENABLED) == 0 ||
      IsWindowEnabled(bar->owner) == FALSE) {
    return;
  }
  const SoftKey key = bar->keys[index];
  // Sent, so the owner has the command before the menu opens; the owner may destroy
  // itself and this bar meanwhile (`bar` keeps the record alive until we return).
  SendMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(key.command, 0), reinterpret_cast<LPARAM>(handle));
  if (IsWindow(handle) == FALSE || (key.style & TBSTYLE_DROPDOWN) == 0) {
    return;
  }
  bar->menuOpen = true;
  const WORD chosen =
      TrackSoftKeyMenu(handle, GetSubMenu(bar->menu.get(), key.popup), index == 1, index == 0 ? VK_F1 : VK_F2);
  bar->menuOpen = false;
  if (chosen != 0 && IsWindow(bar->owner) != FALSE) {
    SendMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  }
}

LRESULT CALLBACK BarProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto bar = Bars().Find(handle);
  if (!bar) {
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
      PaintBar(handle, *bar);
      return 0;
    case WM_MOUSEACTIVATE:
      // The program's window keeps the focus and its keys.
      return MA_NOACTIVATE;
    case WM_KEYDOWN:
      if (wParam == VK_F1 || wParam == VK_F2) {
        PressSoftKey(handle, bar, wParam == VK_F1 ? 0 : 1);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      RECT client{};
      GetClientRect(handle, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const int half = PtInRect(&client, at) == FALSE ? -1 : (at.x < client.right / 2 ? 0 : 1);
      if (message == WM_LBUTTONDOWN) {
        bar->pressedHalf = half;
        SetCapture(handle);
      } else {
        // A key counts when the button comes up on the half it went down on.
        const bool pressed = half >= 0 && half == bar->pressedHalf;
        bar->pressedHalf = -1;
        ReleaseCapture();
        if (pressed) {
          PressSoftKey(handle, bar, static_cast<std::size_t>(half));
        }
      }
      return 0;
    }
    case WM_MEASUREITEM:
      MeasureSoftKeyMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawSoftKeyMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NCDESTROY:
      DetachBar(bar->owner, handle);
      Bars().Remove(handle);
      return 0;
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

}  // namespace

}  // namespace winmobile

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  using winmobile::kFunction;
  using winmobile::Refuse;
  if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO)) {
    return Refuse(kFunction, L"no SHMENUBARINFO of the right size", ERROR_INVALID_PARAMETER);
  }
  info->hwndMB = nullptr;
  if (IsWindow(info->hwndParent) == FALSE) {
    return Refuse(kFunction, L"the parent is not a window", ERROR_INVALID_WINDOW_HANDLE);
  }
  // A bar built from a menu handle or with a bitmap of buttons is not part of this shell.
  constexpr DWORD kKnownFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDDEN;
  if (const DWORD unknown = info->dwFlags & ~kKnownFlags; unknown != 0) {
    return Refuse(kFunction, L"unsupported flags " + winmobile::Hex(unknown), ERROR_INVALID_PARAMETER);
  }
  // The phone without soft keys: a failure the program is meant to survive, not a refusal.
  if (!winmobile::HasSoftKeyBar()) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  auto bar = std::make_shared<winmobile::SoftKeyBar>();
  if ((info->dwFlags & SHCMBF_EMPTYBAR) == 0) {
    std::wstring error;
    DWORD code = 0;
    auto resource = winmobile::LoadBarResource(info->hInstRes, info->nToolBarId, error, code);
    if (!resource) {
      return Refuse(kFunction, error, code);
    }
    bar->keys = std::move(resource->keys);
    bar->menu = std::move(resource->menu);
  }
  const HINSTANCE self = GetModuleHandleW(nullptr);
  if (!winmobile::RegisterLayerClass(self, winmobile::kClassName, winmobile::BarProcedure)) {
    return winmobile::RefuseFailed(kFunction, L"the bar's window class cannot be registered");
  }
  bar->owner = info->hwndParent;
  bar->font = winmobile::PhoneFont();
  // Placed by the frame; a popup owned by the window, so it stays above it and goes with it.
  const HWND handle = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, winmobile::kClassName, L"", WS_POPUP, 0, 0,
                                      0, 0, info->hwndParent, nullptr, self, nullptr);
  if (handle == nullptr) {
    return winmobile::RefuseFailed(kFunction, L"the bar's window cannot be made");
  }
  winmobile::Bars().Add(handle, bar);
  winmobile::AttachBar(info->hwndParent, handle, winmobile::PhoneScreen().BarHeight());
  if ((info->dwFlags & SHCMBF_HIDDEN) == 0) {
    ShowWindow(handle, SW_SHOWNOACTIVATE);
  }
  info->hwndMB = handle;
  return TRUE;
}
