// What the user does to the handset, as its keyboard and touch drivers deliver it.
// Hosts call these; the messages they produce reach the program through its loops.
#pragma once

#include <winuser.h>

namespace handset {

// Presses and releases `virtualKey` (with Ctrl held around it when `control`):
// WM_KEYDOWN, WM_CHAR for characters, WM_KEYUP, posted to the window with the focus.
// The soft keys (VK_F1, VK_F2) go to the soft-key bar of the foreground window.
void PressKey(UINT virtualKey, bool control);

// A stylus tap at screen coordinates: the taskbar's OK button, or WM_LBUTTONDOWN and
// WM_LBUTTONUP to the topmost visible window under the point if it takes input.
void Tap(POINT at);

}  // namespace handset
