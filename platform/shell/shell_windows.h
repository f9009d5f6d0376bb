// Windows the shell draws itself: made without a class of the program's, kept above
// the program's windows (topmost) and shown without taking the foreground.
#pragma once

#include <winuser.h>

#include <memory>

#include "platform/handset/handset.h"
#include "platform/window/window_state.h"

namespace handset::shell {

// Registers `window` (a Window or a kind of it carrying the shell's own data) at `rect`,
// owned by `owner`, on top of the stack, visible and waiting for its first paint.
HWND AddShellWindow(const std::shared_ptr<Window>& window, Window::Kind kind, WNDPROC procedure, const RECT& rect,
                    HWND owner);

}  // namespace handset::shell
