// The navigation control of the device library, opened once for the main window.
#pragma once

#include <windows.h>

using HTCNavOpenProc = DWORD (*)(HWND window, DWORD value);
using HTCNavSetModeProc = DWORD (*)(HWND window, DWORD mode);
// Looked up but never called: the control stays open until the process ends.
using HTCNavCloseProc = DWORD (*)(HWND window);

extern HTCNavOpenProc HTCNavOpen;
extern HTCNavSetModeProc HTCNavSetMode;
extern HTCNavCloseProc HTCNavClose;

// 1 when the control was opened and set, 0 after reporting why not.
int OpenNavControl(HWND window);
