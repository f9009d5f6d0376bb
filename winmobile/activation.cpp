// The shell's share of activation and setting changes, and of the extra controls.
#include <aygshell.h>

#include "refusal.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* info, DWORD /*flags*/) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    return winmobile::Refuse(L"SHHandleWMActivate", L"no SHACTIVATEINFO of the right size", ERROR_INVALID_PARAMETER);
  }
  const bool active = LOWORD(wParam) != WA_INACTIVE;
  const bool minimised = HIWORD(wParam) != 0;
  if (!active) {
    info->hwndLastFocus = GetFocus();
  } else if (!minimised) {
    // A program that leaves WM_ACTIVATE to the shell does not pass it on, so the focus the
    // desktop's default would give the window is given here: where it was, when that was
    // the window's own, else the window.
    const HWND last = info->hwndLastFocus;
    const bool own = last != nullptr && IsWindow(last) != FALSE && (last == window || IsChild(window, last) != FALSE);
    SetFocus(own ? last : window);
  }
  info->fActive = active ? 1U : 0U;
  return TRUE;
}

// There is no input panel on the desktop, so no setting change concerns the shell.
BOOL SHHandleWMSettingChange(HWND /*window*/, WPARAM /*wParam*/, LPARAM /*lParam*/, SHACTIVATEINFO* info) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    return winmobile::Refuse(L"SHHandleWMSettingChange", L"no SHACTIVATEINFO of the right size",
                             ERROR_INVALID_PARAMETER);
  }
  return TRUE;
}
