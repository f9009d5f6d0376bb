// SHCreateMenuBar and the soft-key bar it makes: two labelled keys across the bottom
// of the screen, pressed with the soft keys or a tap on their half.
#include <aygshell.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device/device.h"
#include "platform/handset/refuse.h"
#include "platform/resources/resource_access.h"
#include "platform/shell/menus.h"
#include "platform/shell/shell_windows.h"

namespace handset {

namespace {

constexpr COLORREF kBarColour = RGB(24, 24, 24);
constexpr COLORREF kLabelColour = RGB(255, 255, 255);
constexpr COLORREF kDisabledColour = RGB(120, 120, 120);
// The bar has a left and a right key; more buttons would have nowhere to go.
constexpr std::size_t kMaxButtons = 2;
constexpr std::size_t kWordsPerButton = 7;

struct SoftKey {
  WORD command = 0;
  WORD state = 0;
  WORD style = 0;
  WORD popup = NOMENU;
  std::u16string label;
};

class SoftKeyBar : public Window {
 public:
  std::vector<SoftKey> keys;
  COLORREF background = kBarColour;
  res::Menu menu;
  HWND menuOpen = nullptr;
  std::size_t menuKey = 0;
  int pressedHalf = -1;
};

constexpr char kFunction[] = "SHCreateMenuBar";

// Refuses the bar unless the look-up that failed since `seen` has done so itself; a
// missing piece keeps the error its look-up set.
bool Fail(std::uint64_t seen, std::string_view reason, DWORD error = GetLastError()) {
  if (TheHandset().refusals == seen) {
    Refuse(kFunction, reason, error);
  }
  return false;
}

// Reads the RCDATA `id` and what it names into `bar`; false, refused, when any piece
// is missing or malformed.
bool LoadKeys(HINSTANCE instance, UINT id, SoftKeyBar& bar) {
  const std::uint64_t seen = TheHandset().refusals;
  const auto data = FindRcData(instance, MAKEINTRESOURCEW(id), kFunction);
  if (!data) {
    return Fail(seen, "no bar resource " + std::to_string(id));
  }
  std::vector<WORD> words(data->size() / 2);
  std::memcpy(words.data(), data->data(), words.size() * 2);
  if (words.size() < 2 || words[1] > kMaxButtons || words.size() < 2 + words[1] * kWordsPerButton) {
    return Fail(seen, "the bar resource is malformed", ERROR_INVALID_DATA);
  }
  auto menu = FindMenu(instance, MAKEINTRESOURCEW(words[0]), kFunction);
  if (!menu) {
    return Fail(seen, "no menu " + std::to_string(words[0]) + " for the bar");
  }
  for (std::size_t i = 0; i < words[1]; ++i) {
    const WORD* button = &words[2 + i * kWordsPerButton];
    SoftKey key{button[1], button[2], button[3], button[6], {}};
    const bool hasPopup = key.popup != NOMENU;
    if (hasPopup && (key.popup >= menu->items.size() || !menu->items[key.popup].IsPopup())) {
      return Fail(seen, "a key names no pop-up of the bar's menu", ERROR_INVALID_DATA);
    }
    if ((key.style & TBSTYLE_DROPDOWN) != 0 && !hasPopup) {
      return Fail(seen, "a drop-down key has no pop-up", ERROR_INVALID_DATA);
    }
    LPCWSTR text = nullptr;
    const int length = LoadStringW(instance, button[4], reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
      return Fail(seen, "no string " + std::to_string(button[4]) + " for a key's label");
    }
    key.label.assign(text, static_cast<std::size_t>(length));
    bar.keys.push_back(std::move(key));
  }
  bar.menu = std::move(*menu);
  return true;
}

std::shared_ptr<SoftKeyBar> BarOf(HWND handle) { return TheHandset().objects.Find<SoftKeyBar>(handle); }

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
  HBRUSH brush = CreateSolidBrush(bar.background);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < bar.keys.size(); ++i) {
    const SoftKey& key = bar.keys[i];
    const RECT half = HalfOf(client, i);
    SIZE size{};
    GetTextExtentPoint32W(dc, key.label.data(), static_cast<int>(key.label.size()), &size);
    SetTextColor(dc, (key.state & TBSTATE_ENABLED) != 0 ? kLabelColour : kDisabledColour);
    ExtTextOutW(dc, (half.left + half.right - size.cx) / 2, (half.bottom - size.cy) / 2, 0, &half, key.label.data(),
                static_cast<UINT>(key.label.size()), nullptr);
  }
  EndPaint(handle, &paint);
}

void PressSoftKey(const std::shared_ptr<SoftKeyBar>& bar, std::size_t index) {
  if (IsWindow(bar->menuOpen)) {
    // With its menu up, the key that opened it chooses and the other one closes it.
    if (index == bar->menuKey) {
      shell::ChooseHighlighted(bar->menuOpen);
    } else {
      shell::CloseMenu(bar->menuOpen);
    }
    bar->menuOpen = nullptr;
    return;
  }
  if (index >= bar->keys.size() || (bar->keys[index].state & TBSTATE_ENABLED) == 0) {
    return;
  }
  const SoftKey key = bar->keys[index];
  const HWND self = bar->handle;
  // Sent, so the owner has the command before the menu opens; the owner may destroy
  // itself and this bar meanwhile (`bar` keeps the record alive until we return).
  SendMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(key.command, 0), reinterpret_cast<LPARAM>(self));
  if (!IsWindow(self) || bar->destroying || (key.style & TBSTYLE_DROPDOWN) == 0) {
    return;
  }
  bar->menuOpen = shell::OpenPopup(self, bar->owner, bar->menu.items[key.popup], index == 1);
  bar->menuKey = index;
}

LRESULT CALLBACK BarProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto bar = BarOf(handle);
  if (!bar) {
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      PaintBar(handle, *bar);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_TSOFT1 || wParam == VK_TSOFT2) {
        PressSoftKey(bar, wParam == VK_TSOFT1 ? 0 : 1);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      RECT client{};
      GetClientRect(handle, &client);
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      const int half = x < 0 || y < 0 || x >= client.right || y >= client.bottom ? -1 : (x < client.right / 2 ? 0 : 1);
      if (message == WM_LBUTTONDOWN) {
        bar->pressedHalf = half;
      } else {
        // A key counts when the stylus is lifted on the half it went down on.
        const bool pressed = half >= 0 && half == bar->pressedHalf;
        bar->pressedHalf = -1;
        if (pressed) {
          PressSoftKey(bar, static_cast<std::size_t>(half));
        }
      }
      return 0;
    }
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

}  // namespace

}  // namespace handset

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  using handset::Windows;
  if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO)) {
    handset::Refuse(handset::kFunction, "no SHMENUBARINFO of the right size", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->hwndMB = nullptr;
  if (!IsWindow(info->hwndParent)) {
    handset::Refuse(handset::kFunction, "the parent is not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // A bar built from a menu (SHCMBF_HMENU) is not part of this handset; hiding the
  // input panel's button asks nothing of a phone that has no input panel.
  constexpr DWORD kKnownFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDDEN | SHCMBF_HIDESIPBUTTON | SHCMBF_COLORBK;
  if (const DWORD unknown = info->dwFlags & ~kKnownFlags; unknown != 0) {
    handset::Refuse(handset::kFunction, "unsupported flags " + handset::Hex(unknown), ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The phone without soft keys: a failure the program is meant to survive, not a refusal.
  if (!handset::Device().softKeyBars) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  auto bar = std::make_shared<handset::SoftKeyBar>();
  if ((info->dwFlags & SHCMBF_COLORBK) != 0) {
    bar->background = info->clrBk;
  }
  if ((info->dwFlags & SHCMBF_EMPTYBAR) == 0 && !handset::LoadKeys(info->hInstRes, info->nToolBarId, *bar)) {
    return FALSE;
  }
  const handset::ScreenSize& screen = Windows().screenSize;
  const RECT rect{0, screen.height - screen.BarHeight(), screen.width, screen.height};
  const HWND handle = handset::shell::AddShellWindow(bar, handset::Window::Kind::MenuBar, handset::BarProcedure, rect,
                                                     info->hwndParent);
  if ((info->dwFlags & SHCMBF_HIDDEN) != 0) {
    ShowWindow(handle, SW_HIDE);
  }
  info->hwndMB = handle;
  return TRUE;
}
