#include "soft_key_menu.h"

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "gdi_handles.h"
#include "phone.h"
#include "phone_font.h"
#include "shell_look.h"

namespace winmobile {

namespace {

struct Line {
  std::wstring text;
};

// One menu is up at a time; its items are drawn from here while it is.
struct Tracking {
  UINT openingKey = 0;
  UniqueFont font;
  std::vector<std::unique_ptr<Line>> lines;
};
Tracking* tracking = nullptr;

int Row() { return PhoneScreen().BarHeight(); }

// The soft keys reach into the menu's own loop, which the bar's window never sees: as
// the menu takes them from the queue they become the keys it knows.
LRESULT CALLBACK SoftKeysInMenu(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && tracking != nullptr && (message->message == WM_KEYDOWN || message->message == WM_KEYUP) &&
      (message->wParam == VK_F1 || message->wParam == VK_F2)) {
    message->wParam = message->wParam == tracking->openingKey ? VK_RETURN : VK_ESCAPE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookDeleter {
  void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

// The same items, drawn by the bar.
UniqueMenu OwnerDrawnCopy(HMENU popup, Tracking& state) {
  UniqueMenu copy(CreatePopupMenu());
  const int count = GetMenuItemCount(popup);
  for (int i = 0; copy && i < count; ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text) - 1);
    if (GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info) == FALSE) {
      continue;
    }
    if ((info.fType & MFT_SEPARATOR) != 0) {
      AppendMenuW(copy.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    // The handset's pop-ups have no nested menus to open: such an item shows greyed.
    const bool usable = info.hSubMenu == nullptr && (info.fState & MFS_DISABLED) == 0;
    state.lines.push_back(std::make_unique<Line>(Line{text}));
    AppendMenuW(copy.get(), MF_OWNERDRAW | (usable ? 0U : MF_GRAYED), usable ? info.wID : 0,
                reinterpret_cast<LPCWSTR>(state.lines.back().get()));
  }
  return copy;
}

}  // namespace

WORD TrackSoftKeyMenu(HWND bar, HMENU popup, bool rightSide, UINT openingKey) {
  Tracking state;
  state.openingKey = openingKey;
  state.font = PhoneFont();
  const UniqueMenu menu = OwnerDrawnCopy(popup, state);
  RECT barRect{};
  if (!menu || state.lines.empty() || GetWindowRect(bar, &barRect) == FALSE) {
    return 0;
  }
  tracking = &state;
  const std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter> keys(
      SetWindowsHookExW(WH_GETMESSAGE, SoftKeysInMenu, nullptr, GetCurrentThreadId()));
  // Lit from the start, as on the handset, so the opening key can choose at once.
  PostMessageW(bar, WM_KEYDOWN, VK_DOWN, 0);
  // Upwards from the bar's top edge, flush with the key's end of it.
  const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN | (rightSide ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
  const BOOL chosen =
      TrackPopupMenuEx(menu.get(), flags, rightSide ? barRect.right : barRect.left, barRect.top, bar, nullptr);
  tracking = nullptr;
  return static_cast<WORD>(chosen);
}

void MeasureSoftKeyMenuItem(MEASUREITEMSTRUCT& item) {
  const auto* line = reinterpret_cast<const Line*>(item.itemData);
  if (tracking == nullptr || line == nullptr) {
    return;
  }
  HDC dc = GetDC(nullptr);
  SIZE size{};
  {
    const Selected font(dc, tracking->font.get());
    GetTextExtentPoint32W(dc, line->text.c_str(), static_cast<int>(line->text.size()), &size);
  }
  ReleaseDC(nullptr, dc);
  const int screen = PhoneScreen().width;
  item.itemWidth = static_cast<UINT>(std::min(screen, std::max(static_cast<int>(size.cx) + Row(), screen / 3)));
  item.itemHeight = static_cast<UINT>(Row());
}

void DrawSoftKeyMenuItem(const DRAWITEMSTRUCT& item) {
  const auto* line = reinterpret_cast<const Line*>(item.itemData);
  if (tracking == nullptr || line == nullptr) {
    return;
  }
  const bool lit = (item.itemState & ODS_SELECTED) != 0;
  const bool grey = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const UniqueBrush brush(CreateSolidBrush(lit ? look::kHighlight : look::kMenu));
  FillRect(item.hDC, &item.rcItem, brush.get());
  const Selected font(item.hDC, tracking->font.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, lit ? look::kMenu : (grey ? look::kMenuGrey : look::kMenuText));
  SIZE size{};
  GetTextExtentPoint32W(item.hDC, line->text.c_str(), static_cast<int>(line->text.size()), &size);
  const int height = item.rcItem.bottom - item.rcItem.top;
  ExtTextOutW(item.hDC, item.rcItem.left + Row() / 2, item.rcItem.top + (height - size.cy) / 2, ETO_CLIPPED,
              &item.rcItem, line->text.c_str(), static_cast<UINT>(line->text.size()), nullptr);
}

}  // namespace winmobile
