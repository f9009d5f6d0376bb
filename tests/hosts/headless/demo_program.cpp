// A small program for the headless host: a 50 ms timer counts ticks, the tenth opens a
// box owned by the window, after `x` it ignores WM_CLOSE, `r` makes a refused call; closing quits with 7.
#include <windows.h>

#include "headless_host.h"
#include "support/test_windows.h"

namespace {

int ticks = 0;
bool stubborn = false;

LRESULT CALLBACK DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (++ticks == 10) {
        MessageBoxW(window, u"Ten ticks", u"Demo", MB_OK);
      }
      return 0;
    case WM_CHAR:
      stubborn = stubborn || wParam == 'x';
      if (wParam == 'r') {
        ExtTextOutW(nullptr, 0, 0, 0, nullptr, nullptr, 0, nullptr);  // refused: no device context
      }
      return 0;
    case WM_CLOSE:
      if (!stubborn) {
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

int WINAPI DemoMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  const HWND window = testsupport::MakeWindow(DemoProcedure, u"DEMO", u"Demo", instance);
  if (window == nullptr) {
    return 1;
  }
  ShowWindow(window, show);
  SetTimer(window, 1, 50, nullptr);
  return testsupport::RunMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
  headless::HeadlessProgram program;
  program.name = u"demo";
  program.winMain = DemoMain;
  program.smallestBand = 200;
  program.afterMessage = [](const headless::HandledMessage& handled, kit::TraceWriter& trace) {
    if (handled.message.message == WM_TIMER && !handled.sent) {
      trace.Begin("tick").Field("ms", static_cast<std::int64_t>(headless::Ms())).Field("n", std::int64_t{ticks}).End();
    }
  };
  return headless::RunHeadless(argc, argv, program);
}
