// The hosts' tests' little program: a 50 ms timer counts ticks, the tenth opens a box
// owned by the window, `b` opens one at once, after `x` it ignores WM_CLOSE, `r` makes
// a refused call; closing quits with 7.
#pragma once

#include <windows.h>

#include "support/test_windows.h"

namespace testsupport {

struct Demo {
  int ticks = 0;
  bool stubborn = false;
};

inline Demo& TheDemo() {
  static Demo demo;
  return demo;
}

inline LRESULT CALLBACK DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Demo& demo = TheDemo();
  switch (message) {
    case WM_TIMER:
      if (++demo.ticks == 10) {
        MessageBoxW(window, u"Ten ticks", u"Demo", MB_OK);
      }
      return 0;
    case WM_CHAR:
      demo.stubborn = demo.stubborn || wParam == 'x';
      if (wParam == 'b') {
        MessageBoxW(window, u"Asked for", u"Demo", MB_OKCANCEL);
      }
      if (wParam == 'r') {
        ExtTextOutW(nullptr, 0, 0, 0, nullptr, nullptr, 0, nullptr);  // refused: no device context
      }
      return 0;
    case WM_CLOSE:
      if (!demo.stubborn) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(7);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

inline int WINAPI DemoMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  TheDemo() = {};
  const HWND window = MakeWindow(DemoProcedure, u"DEMO", u"Demo", instance);
  if (window == nullptr) {
    return 1;
  }
  ShowWindow(window, show);
  SetTimer(window, 1, 50, nullptr);
  return RunMessageLoop();
}

}  // namespace testsupport
