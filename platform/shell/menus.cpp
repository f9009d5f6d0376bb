// The pop-up menu window: its layout, drawing, keys and taps.
#include "platform/shell/menus.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/shell/shell_windows.h"

namespace handset {

namespace {

constexpr COLORREF kMenuColour = RGB(255, 255, 255);
constexpr COLORREF kHighlightColour = RGB(16, 40, 96);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kGreyColour = RGB(128, 128, 128);
constexpr WORD kGrayedFlags = 0x0003;  // MF_GRAYED | MF_DISABLED

class MenuWindow : public Window {
 public:
  std::vector<res::MenuItem> items;
  int highlight = -1;
  HWND target = nullptr;
  HWND previousFocus = nullptr;
};

std::shared_ptr<MenuWindow> MenuOf(HWND menu) { return TheHandset().objects.Find<MenuWindow>(menu); }

bool Selectable(const res::MenuItem& item) {
  return !item.IsPopup() && item.id != 0 && (item.flags & kGrayedFlags) == 0;
}

int Row() { return Windows().screenSize.BarHeight(); }
int Padding() { return Row() / 4; }

// The next selectable item from `from` in `step` direction, or `from` when there is none.
int NextSelectable(const MenuWindow& menu, int from, int step) {
  const auto count = static_cast<int>(menu.items.size());
  for (int i = from + step; i >= 0 && i < count; i += step) {
    if (Selectable(menu.items[static_cast<std::size_t>(i)])) {
      return i;
    }
  }
  return from;
}

void PaintMenu(HWND handle, const MenuWindow& menu) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  RECT client{};
  GetClientRect(handle, &client);
  HBRUSH background = CreateSolidBrush(kMenuColour);
  HBRUSH highlight = CreateSolidBrush(kHighlightColour);
  FillRect(dc, &client, background);
  SetBkMode(dc, TRANSPARENT);
  const int row = Row();
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const res::MenuItem& item = menu.items[i];
    const int top = Padding() + static_cast<int>(i) * row;
    const bool lit = static_cast<int>(i) == menu.highlight;
    if (lit) {
      const RECT band{0, top, client.right, top + row};
      FillRect(dc, &band, highlight);
    }
    SetTextColor(dc, lit ? kMenuColour : (Selectable(item) ? kTextColour : kGreyColour));
    SIZE size{};
    GetTextExtentPoint32W(dc, item.text.data(), static_cast<int>(item.text.size()), &size);
    ExtTextOutW(dc, row / 2, top + (row - size.cy) / 2, 0, nullptr, item.text.data(),
                static_cast<UINT>(item.text.size()), nullptr);
  }
  // A frame, so the white menu stands out from a light picture below it.
  HPEN pen = CreatePen(PS_SOLID, 1, kHighlightColour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, client.bottom - 1, nullptr);
  LineTo(dc, 0, 0);
  LineTo(dc, client.right - 1, 0);
  LineTo(dc, client.right - 1, client.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(pen);
  DeleteObject(background);
  DeleteObject(highlight);
  EndPaint(handle, &paint);
}

LRESULT CALLBACK MenuProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  // Held for the whole call: choosing an item destroys the menu.
  const auto menu = MenuOf(handle);
  if (!menu) {
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      PaintMenu(handle, *menu);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        const int moved = NextSelectable(*menu, menu->highlight, wParam == VK_UP ? -1 : 1);
        if (moved != menu->highlight) {
          menu->highlight = moved;
          InvalidateRect(handle, nullptr, FALSE);
        }
      } else if (wParam == VK_RETURN) {
        shell::ChooseHighlighted(handle);
      } else if (wParam == VK_ESCAPE) {
        shell::CloseMenu(handle);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      RECT client{};
      GetClientRect(handle, &client);
      if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) {
        shell::CloseMenu(handle);
        return 0;
      }
      const int index = (y - Padding()) / Row();
      if (y >= Padding() && index < static_cast<int>(menu->items.size()) &&
          Selectable(menu->items[static_cast<std::size_t>(index)])) {
        menu->highlight = index;
        shell::ChooseHighlighted(handle);
      }
      return 0;
    }
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

int WidthOf(const std::vector<res::MenuItem>& items) {
  HDC measure = CreateCompatibleDC(nullptr);
  int widest = 0;
  for (const res::MenuItem& item : items) {
    SIZE size{};
    GetTextExtentPoint32W(measure, item.text.data(), static_cast<int>(item.text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  DeleteDC(measure);
  const int screen = Windows().screenSize.width;
  return std::min(screen, std::max(widest + Row(), screen / 3));
}

}  // namespace

HWND OpenMenu() {
  for (const HWND handle : Windows().stack) {
    const auto window = WindowOf(handle);
    if (window && window->kind == Window::Kind::Menu && window->visible && !window->destroying) {
      return handle;
    }
  }
  return nullptr;
}

bool MenuIsOpen() { return OpenMenu() != nullptr; }

namespace shell {

HWND OpenPopup(HWND bar, HWND target, const res::MenuItem& popup, bool rightSide) {
  RECT barRect{};
  if (popup.children.empty() || !GetWindowRect(bar, &barRect)) {
    return nullptr;
  }
  auto menu = std::make_shared<MenuWindow>();
  menu->items = popup.children;
  menu->target = target;
  menu->highlight = NextSelectable(*menu, -1, 1);
  const int width = WidthOf(menu->items);
  const int height = 2 * Padding() + static_cast<int>(menu->items.size()) * Row();
  const LONG left = rightSide ? barRect.right - width : barRect.left;
  const LONG top = std::max<LONG>(Windows().screenSize.BarHeight(), barRect.top - height);
  const RECT rect{left, top, left + width, barRect.top};
  const HWND handle = AddShellWindow(menu, Window::Kind::Menu, MenuProcedure, rect, bar);
  menu->previousFocus = SetFocus(handle);
  return handle;
}

void ChooseHighlighted(HWND handle) {
  const auto menu = MenuOf(handle);
  if (!menu) {
    return;
  }
  const int index = menu->highlight;
  const HWND target = menu->target;
  const bool chosen = index >= 0 && static_cast<std::size_t>(index) < menu->items.size() &&
                      Selectable(menu->items[static_cast<std::size_t>(index)]);
  const WORD command = chosen ? menu->items[static_cast<std::size_t>(index)].id : 0;
  CloseMenu(handle);
  if (chosen) {
    SendMessageW(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  }
}

void CloseMenu(HWND handle) {
  const auto menu = MenuOf(handle);
  if (!menu) {
    return;
  }
  const HWND back = IsWindow(menu->previousFocus) ? menu->previousFocus : menu->target;
  SetFocus(IsWindow(back) ? back : nullptr);
  DestroyWindow(handle);
}

}  // namespace shell
}  // namespace handset
