// Stacking, activation and exposure: the window system's internal moves, shared by the
// window calls, the modal boxes and the host.
#pragma once

#include <winuser.h>

#include <memory>
#include <vector>

#include "platform/window/window_state.h"

namespace handset {

// Places `window` on top of the windows of its kind (topmost ones stay above others).
void BringToTop(HWND window);
// Makes `window` the foreground window with the focus, telling both windows involved.
void Activate(HWND window);
// The next window to take the foreground when `leaving` goes: the topmost visible one
// that is enabled.
HWND NextForeground(HWND leaving);
// Invalidates, with erasing, what of `area` (screen coordinates) the windows below
// `above` show (all windows when `above` is null).
void Expose(const RECT& area, HWND above);
// The part of `window`'s client area that shows on the screen, in screen coordinates.
std::vector<RECT> VisibleRegion(const Window& window);
// The same into `region`, with `scratch` for the work; both keep their storage.
void VisibleRegion(const Window& window, std::vector<RECT>& region, std::vector<RECT>& scratch);
// The windows `owner` owns, topmost first.
std::vector<HWND> OwnedWindows(HWND owner);

}  // namespace handset
