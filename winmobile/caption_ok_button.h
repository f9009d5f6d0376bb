// The OK a Windows Mobile box shows in the taskbar while it is in front. Desktop
// Windows has no such title button, so the shell lays one of its own over the title.
#pragma once

#include <windows.h>

namespace winmobile {

// Puts OK at the right end of `box`'s title; a click on it sends IDOK to the box. False
// when the button's window cannot be made.
bool AddCaptionOkButton(HWND box);

}  // namespace winmobile
