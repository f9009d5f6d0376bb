// The soft-key bar's pop-up menus: one open at a time, above the bar at its button's
// side. While open it has the keyboard focus and takes every tap, those outside it
// (which close it) included.
#pragma once

#include <winuser.h>

#include "platform/resources/menu.h"

namespace handset {

// The open pop-up menu, or null. The touch driver sends taps here first: a tap outside
// the menu arrives in client coordinates outside its client area.
HWND OpenMenu();
bool MenuIsOpen();

namespace shell {

// Opens `popup`'s items above `bar` (flush with its left or right end), owned by the
// bar; a chosen item's command goes to `target`. Null when the pop-up has no items.
HWND OpenPopup(HWND bar, HWND target, const res::MenuItem& popup, bool rightSide);
// Chooses the highlighted item: the menu closes, then the command is sent.
void ChooseHighlighted(HWND handle);
// Closes without a command and gives the focus back.
void CloseMenu(HWND handle);

}  // namespace shell
}  // namespace handset
