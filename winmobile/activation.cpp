// The shell's share of activation and setting changes, and of the extra controls.
#include <aygshell.h>

#include "refusal.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* info, DWORD /*flags*/) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    return winmobile::Refuse(L"SHHandleWMActivate", L"no SHACTIVATEINFO of the right size", ERROR_INVALID_PARAMETER);
  }
  const bool active = LOWORD(wParam) != WA_INACTIVE;
  if (!active) {
    info->hwndLastFocus = GetFocus();
  } else if (info->hwndLastFocus != nullptr && IsWindow(info->hwndLastFocus) != FALSE &&
             (info->hwndLastFocus == window || IsChild(window, info->hwndLastFocus) != FALSE)) {
    // Only a focus that was the window's own goes back: another window's is not ours to move.
    SetFocus(info->hwndLastFocus);
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
