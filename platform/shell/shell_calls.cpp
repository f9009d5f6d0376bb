// The shell's share of activation and of dialogs that fill the screen.
#include <aygshell.h>

#include "window/taskbar.h"
#include "window/window_state.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHHandleWMActivate(HWND /*window*/, WPARAM wParam, LPARAM /*lParam*/, SHACTIVATEINFO* info, DWORD /*flags*/) {
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
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
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto dialog = handset::WindowOf(info->hDlg);
  if (!dialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if ((info->dwMask & SHIDIM_FLAGS) == 0) {
    return TRUE;
  }
  const DWORD flags = info->dwFlags;
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
