// The shell's share of activation and of dialogs that fill the screen.
#include <aygshell.h>

#include "platform/handset/refuse.h"
#include "platform/window/taskbar.h"
#include "platform/window/window_state.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHHandleWMActivate(HWND /*window*/, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* info, DWORD /*flags*/) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    handset::Refuse("SHHandleWMActivate", "no SHACTIVATEINFO of the right size", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool active = LOWORD(wParam) != WA_INACTIVE;
  if (!active) {
    info->hwndLastFocus = GetFocus();
  }
  info->fActive = active ? 1U : 0U;
  return TRUE;
}

// This handset has no input panel, so no setting change concerns the shell.
BOOL SHHandleWMSettingChange(HWND /*window*/, WPARAM /*wParam*/, LPARAM /*lParam*/, SHACTIVATEINFO* info) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    handset::Refuse("SHHandleWMSettingChange", "no SHACTIVATEINFO of the right size", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
  if (info == nullptr) {
    handset::Refuse("SHInitDialog", "no SHINITDLGINFO", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto dialog = handset::WindowOf(info->hDlg);
  if (!dialog) {
    handset::Refuse("SHInitDialog", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (const DWORD unknown = info->dwMask & ~SHIDIM_FLAGS; unknown != 0) {
    handset::Refuse("SHInitDialog", "unsupported mask " + handset::Hex(unknown), ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if ((info->dwMask & SHIDIM_FLAGS) == 0) {
    return TRUE;
  }
  const DWORD flags = info->dwFlags;
  constexpr DWORD kKnownFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN |
                                SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_EMPTYMENU;
  if (const DWORD unknown = flags & ~kKnownFlags; unknown != 0) {
    handset::Refuse("SHInitDialog", "unsupported flags " + handset::Hex(unknown), ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const handset::ScreenSize& screen = handset::Windows().screenSize;
  if ((flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0) {
    // Below the taskbar; above the soft-key bar's band unless the box has no bar.
    const RECT work = screen.WorkArea();
    const LONG bottom = (flags & SHIDIF_FULLSCREENNOMENUBAR) != 0 ? work.bottom : work.bottom - screen.BarHeight();
    MoveWindow(info->hDlg, work.left, work.top, work.right - work.left, bottom - work.top, TRUE);
  }
  if ((flags & SHIDIF_DONEBUTTON) != 0) {
    dialog->exStyle |= WS_EX_CAPTIONOKBTN;
    handset::DrawTaskbar();
  }
  if ((flags & SHIDIF_EMPTYMENU) != 0) {
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = info->hDlg;
    bar.dwFlags = SHCMBF_EMPTYBAR;
    if (SHCreateMenuBar(&bar) == FALSE) {
      return FALSE;
    }
  }
  // SHIDIF_SIPDOWN: there is no input panel to lower.
  return TRUE;
}
