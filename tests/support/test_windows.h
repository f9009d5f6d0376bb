// What the window tests' little programs share: a window painted whole in one colour,
// and the plain message loop.
#pragma once

#include <windows.h>

namespace testsupport {

// Makes a visible window of `className`, registered for `procedure` unless it already
// is; null when the window cannot be made.
inline HWND MakeWindow(WNDPROC procedure, LPCWSTR className, LPCWSTR title, HINSTANCE instance = nullptr) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         nullptr, nullptr, instance, nullptr);
}

// Paints the whole client area, whatever the update region, in `colour`.
inline void PaintWhole(HWND window, COLORREF colour) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  EndPaint(window, &paint);
}

// Translates and dispatches until WM_QUIT; returns its code.
inline int RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace testsupport
