// The handset's user and its system, as a host plays them: keys, taps, boxes answered,
// the session's end, and requests from other copies of the program.
#pragma once

#include <winuser.h>

namespace handset::host {

// Presses and releases `virtualKey`, with Ctrl held around it when `control`; the soft
// keys are VK_F1 and VK_F2.
void PressKey(UINT virtualKey, bool control);
// A stylus tap at screen coordinates.
void Tap(POINT at);
// Presses a button of the topmost box not yet answered: `button` (IDOK, IDYES, ...), or
// with 0 its default one, or with `dismiss` what closing it gives (Cancel where it has
// one). Returns the button pressed; 0 when no box is open or it has no such button.
int AnswerTopmostBox(int button = 0, bool dismiss = false);
bool BoxOpen();
// As the system ends a session, one step a call: an open box is answered as closing it would; else the
// program's windows get WM_CLOSE, and on any later call the program is told to quit.
void EndSession();
// Carries out what other copies in the session asked; returns how many windows came
// forward.
int ServeSessionRequests();

// Whether `window` can be the program's main window: a top-level window of its own,
// neither a box nor a child.
bool IsMainWindowCandidate(HWND window);
// Whether any of the program's own top-level windows is visible.
bool ProgramHasVisibleWindow();

}  // namespace handset::host
