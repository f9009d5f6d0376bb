#include "window_placement.h"

#include <algorithm>

#include "phone.h"
#include "phone_frame.h"
#include "refusal.h"

namespace winmobile {

namespace {

constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kUnwantedStyle = WS_THICKFRAME | WS_MAXIMIZEBOX;

LRESULT CALLBACK CreationWatch(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    const CREATESTRUCTW& create = *creation->lpcs;
    // A phone's program has one kind of main window; boxes, menus and the shell's own
    // windows are popups, message-only windows have a parent.
    if (create.hwndParent == nullptr && (static_cast<DWORD>(create.style) & (WS_CHILD | WS_POPUP)) == 0) {
      BecomePhoneWindow(reinterpret_cast<HWND>(wParam));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

PlacementHook::PlacementHook() : hook_(SetWindowsHookExW(WH_CBT, CreationWatch, nullptr, GetCurrentThreadId())) {
  if (!hook_) {
    RefuseFailed(L"SetWindowsHookExW", L"the program's windows will not get the phone's place");
  }
}

RECT DefaultPhoneArea() {
  const Screen& screen = PhoneScreen();
  RECT outer{0, 0, screen.width, screen.height - screen.BarHeight()};
  AdjustWindowRectEx(&outer, kFrameStyle, FALSE, 0);
  RECT work{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) == FALSE) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  // Centred; on a desktop smaller than the frame, its title stays in reach.
  const LONG left = std::max(work.left, work.left + (work.right - work.left - (outer.right - outer.left)) / 2);
  const LONG top = std::max(work.top, work.top + (work.bottom - work.top - (outer.bottom - outer.top)) / 2);
  return {left - outer.left, top - outer.top, left - outer.left + screen.width,
          top - outer.top + screen.height - screen.BarHeight()};
}

void TakeDesktopFrame(HWND window) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>((style | kFrameStyle) & ~kUnwantedStyle));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace winmobile
