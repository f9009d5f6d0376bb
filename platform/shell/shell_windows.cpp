// The shell's own windows enter the window system here.
#include "platform/shell/shell_windows.h"

#include "platform/window/window_tree.h"

namespace handset::shell {

HWND AddShellWindow(const std::shared_ptr<Window>& window, Window::Kind kind, WNDPROC procedure, const RECT& rect,
                    HWND owner) {
  auto windowClass = std::make_shared<WindowClass>();
  windowClass->name = u"#handset-shell";
  windowClass->procedure = procedure;
  window->kind = kind;
  window->windowClass = std::move(windowClass);
  window->procedure = procedure;
  window->style = WS_POPUP;
  // Topmost, so the program's window brought forward stays below its bar and menu.
  window->exStyle = WS_EX_TOPMOST;
  window->rect = rect;
  window->owner = owner;
  const HWND handle = static_cast<HWND>(TheHandset().objects.Add(window));
  window->handle = handle;
  BringToTop(handle);
  ShowWindow(handle, SW_SHOWNOACTIVATE);
  return handle;
}

}  // namespace handset::shell
