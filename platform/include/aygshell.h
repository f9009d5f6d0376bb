// The mobile shell: the soft-key bar, full-screen dialogs and the shell's share of
// activation. Record sizes are checked against sizeof of these structures: a wrong cbSize,
// like a flag the handset does not implement, is refused with ERROR_INVALID_PARAMETER (the
// refusal reported to the host).
#pragma once

#include "aygshell_records.h"
#include "regext.h"
#include "windows.h"

// There are no extra controls to register: always TRUE.
BOOL SHInitExtraControls();
// Builds the soft-key bar of `info->hwndParent` from the RCDATA `info->nToolBarId` (none
// with SHCMBF_EMPTYBAR; hidden with SHCMBF_HIDDEN) into `info->hwndMB`. FALSE with the
// lookup's error for a bar missing or malformed, ERROR_NOT_ENOUGH_MEMORY on a device
// without soft-key bars.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);
// Deactivated, keeps the focus in `info->hwndLastFocus`; records fActive either way.
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
// With no input panel no setting concerns the shell: TRUE, nothing done.
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
// With SHIDIM_FLAGS: sizes the box between the taskbar and the soft-key band (down to the
// bottom with SHIDIF_FULLSCREENNOMENUBAR), puts OK in its title bar (SHIDIF_DONEBUTTON)
// and an empty bar under it (SHIDIF_EMPTYMENU); SHIDIF_SIPDOWN is moot. FALSE when that
// bar fails.
BOOL SHInitDialog(SHINITDLGINFO* info);
