// Modal boxes: the loop that runs while one is up, and the system's way to answer one.
#pragma once

#include <winuser.h>

#include "window/window_state.h"

namespace handset {

// Dispatches every message of the thread until `box` has ended; a quit request ends
// the loop and is posted again for the loop outside. Returns the box's result.
INT_PTR RunModalLoop(HWND box);

// Presses OK on the topmost message box or dialog not yet answered; false when none.
bool AnswerTopmostBox();

// Ends `box` with `result`; its modal loop returns before it takes further input.
void EndBox(Window& box, INT_PTR result);

// The topmost open message box or dialog, or null.
HWND TopmostBox();

}  // namespace handset
