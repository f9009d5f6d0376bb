// The desktop frame of a window that shows the phone's screen below its taskbar: a
// strip under the client area holds the soft-key bar, and the shell's popups (the bar,
// the OK in the title) stay in place on the frame as it moves.
#pragma once

#include <windows.h>

namespace winmobile {

// Makes `window`, a program's top-level window being created, a phone's window: on
// WM_CREATE, before the program sees it, it takes a fixed desktop frame and the phone's
// screen below the taskbar, centred on the desktop.
void BecomePhoneWindow(HWND window);

// Gives `frame` a strip of `height` under its client area, holding `bar`; the frame
// grows by it, the client area stays. F1 and F2 sent to the frame go to the bar.
void AttachBar(HWND frame, HWND bar, int height);
// The bar is gone: the client area takes its strip back, the frame stays.
void DetachBar(HWND frame, HWND bar);
// Keeps `button` at the right end of `frame`'s title.
void AttachCaptionButton(HWND frame, HWND button);

bool IsPhoneWindow(HWND window);
// What `window` shows of the phone, on the desktop: its client area and the bar's strip.
RECT PhoneAreaOf(HWND window);
// Moves and sizes `window` so that its client area and bar strip cover `area`.
void FitPhoneArea(HWND window, const RECT& area);

}  // namespace winmobile
