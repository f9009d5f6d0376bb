#include "caption_ok_button.h"

#include <algorithm>

#include "gdi_handles.h"
#include "phone_frame.h"
#include "shell_look.h"
#include "window_class.h"

namespace winmobile {

namespace {

constexpr wchar_t kClassName[] = L"winmobile caption OK";
constexpr wchar_t kText[] = L"OK";

void PaintButton(HWND handle) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle, &paint);
  RECT client{};
  GetClientRect(handle, &client);
  // The handset's taskbar colours, so it reads as the phone's OK and not the desktop's.
  const UniqueBrush brush(CreateSolidBrush(look::kHighlight));
  FillRect(dc, &client, brush.get());
  const Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look::kLabel);
  DrawTextW(dc, kText, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(handle, &paint);
}

LRESULT CALLBACK ButtonProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintButton(handle);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
      SetCapture(handle);
      return 0;
    case WM_LBUTTONUP: {
      ReleaseCapture();
      RECT client{};
      GetClientRect(handle, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (PtInRect(&client, at) != FALSE) {
        // Posted: the box ends on it, and takes this button with it.
        const HWND box = GetWindow(handle, GW_OWNER);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(handle));
      }
      return 0;
    }
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

int ButtonWidth() {
  HDC dc = GetDC(nullptr);
  SIZE size{};
  {
    const Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc, kText, 2, &size);
  }
  ReleaseDC(nullptr, dc);
  return std::max(static_cast<int>(size.cx) * 3, 2 * GetSystemMetrics(SM_CYCAPTION));
}

}  // namespace

bool AddCaptionOkButton(HWND box) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  if (!RegisterLayerClass(self, kClassName, ButtonProcedure)) {
    return false;
  }
  const HWND button = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName, kText, WS_POPUP, 0, 0,
                                      ButtonWidth(), GetSystemMetrics(SM_CYCAPTION), box, nullptr, self, nullptr);
  if (button == nullptr) {
    return false;
  }
  AttachCaptionButton(box, button);
  ShowWindow(button, SW_SHOWNOACTIVATE);
  return true;
}

}  // namespace winmobile
