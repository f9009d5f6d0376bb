// The mobile shell's share of a program's window on desktop Windows: the soft-key bar
// under the window, the full-screen box with OK in its title, and the shell's handling of
// activation. The records are laid out as Windows Mobile's.
#pragma once

#include <windows.h>

#include "aygshell_records.h"
#include "regext.h"

BOOL SHInitExtraControls();
// Builds the bar from the RCDATA `nToolBarId` of `hInstRes` under `hwndParent`.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);
// Deactivated, keeps the focus in `info->hwndLastFocus` and gives it back on activation.
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
// There is no input panel: nothing to do.
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
// Sizes the box to the phone's screen under the taskbar and puts OK in its title.
BOOL SHInitDialog(SHINITDLGINFO* info);
