// Message boxes, and the system's way to answer the topmost box, message box or dialog.
#pragma once

#include <winuser.h>

#include "window/modal_loop.h"
#include "window/window_state.h"

namespace handset {

// Presses OK on the topmost message box or dialog not yet answered; false when none.
bool AnswerTopmostBox();

// The topmost open message box or dialog, or null.
HWND TopmostBox();

}  // namespace handset
