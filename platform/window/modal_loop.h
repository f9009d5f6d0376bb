// The loop that runs while a modal box is up, shared by message boxes and dialogs.
#pragma once

#include <winuser.h>

#include "platform/window/window_state.h"

namespace handset {

// Dispatches every message of the thread until `box` has ended; a quit request ends
// the loop and is posted again for the loop outside. Returns the box's result.
INT_PTR RunModalLoop(HWND box);

// Ends `box` with `result`; its modal loop returns before it takes further input.
void EndBox(Window& box, INT_PTR result);

}  // namespace handset
