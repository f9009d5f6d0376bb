// A small program for the headless host: a 50 ms timer counts ticks and repaints, the
// tenth tick opens a box owned by the window, `d` opens a dialog, after `x` it ignores
// WM_CLOSE; closing quits with 7.
#include <windows.h>

#include "headless_host.h"
#include "resources/embedded_resources.h"

namespace {

HINSTANCE demoInstance = nullptr;
int ticks = 0;
bool stubborn = false;
INT_PTR dialogResult = -1;
constexpr WORD kDialog = 200;

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    return TRUE;
  }
  if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) {
    EndDialog(dialog, 5);
    return TRUE;
  }
  return FALSE;
}

void OpenDialog(HWND owner) {
  const HINSTANCE instance = demoInstance;
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kDialog), RT_DIALOG);
  const HGLOBAL loaded = found == nullptr ? nullptr : LoadResource(instance, found);
  if (loaded != nullptr) {
    dialogResult = DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)), owner,
                                           DialogProcedure, 0);
  }
}

LRESULT CALLBACK DemoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      ++ticks;
      InvalidateRect(window, nullptr, FALSE);
      if (ticks == 10) {
        MessageBoxW(window, u"Ten ticks", u"Demo", MB_OK);
      }
      return 0;
    case WM_CHAR:
      if (wParam == 'd') {
        OpenDialog(window);
      } else if (wParam == 'x') {
        stubborn = true;
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      const HBRUSH brush = CreateSolidBrush(RGB(ticks * 10 % 256, 80, 160));
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      if (!stubborn) {
        DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      KillTimer(window, 1);
      PostQuitMessage(7);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int WINAPI DemoMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  demoInstance = instance;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DemoProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = u"DEMO";
  if (RegisterClassW(&windowClass) == 0) {
    return 1;
  }
  const HWND window = CreateWindowExW(0, u"DEMO", u"Demo", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return 1;
  }
  ShowWindow(window, show);
  SetTimer(window, 1, 50, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int main(int argc, char** argv) {
  headless::HeadlessProgram program;
  program.name = u"demo";
  program.resources = EmbeddedResources();
  program.winMain = DemoMain;
  program.afterMessage = [](const headless::HandledMessage& handled, headless::TraceWriter& trace) {
    if (handled.message.message == WM_TIMER && !handled.sent) {
      trace.Begin("tick").Field("ms", static_cast<std::int64_t>(headless::Ms())).Field("n", std::int64_t{ticks}).End();
    }
    if (dialogResult != -1) {
      trace.Begin("dialog")
          .Field("ms", static_cast<std::int64_t>(headless::Ms()))
          .Field("result", std::int64_t{dialogResult})
          .End();
      dialogResult = -1;
    }
  };
  return headless::RunHeadless(argc, argv, program);
}
