// Message boxes, and the system's way to answer the topmost box, message box or dialog.
#pragma once

#include <winuser.h>

#include "platform/window/modal_loop.h"
#include "platform/window/window_state.h"

namespace handset {

// How the system answers a box when no button is named: as Enter does (the default
// button), or as the end of a session does (Cancel where the box has it, else the
// default). A dialog is always answered IDOK.
enum class BoxAnswer { Default, Dismiss };

// Presses a button of the topmost message box or dialog not yet answered: `button`
// (IDYES, IDNO ...) when given, else the one `how` picks. Returns the button pressed;
// 0 when no box is open or the message box has no such button.
int AnswerTopmostBox(BoxAnswer how = BoxAnswer::Default, int button = 0);

// The topmost open message box or dialog, or null.
HWND TopmostBox();

}  // namespace handset
