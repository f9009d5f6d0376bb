// The taskbar across the top of the screen: the foreground window's title, and at the
// right the clock, or an OK button when the foreground box asks for one.
#pragma once

#include <windef.h>

namespace handset {

// Redraws the taskbar when what it shows has changed.
void DrawTaskbar();
// Where the taskbar's OK button is, on the screen (empty when it shows the clock).
RECT TaskbarOkButton();

}  // namespace handset
