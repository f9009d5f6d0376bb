// The window procedure: the soft-key bar's life, the shell's share of activation, the
// paint and the tick, and the commands; and the About box's procedure.
#include "core/game_state.h"
#include "render/frame.h"
#include "resource_ids.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace {

void CreateMenuBar(HWND window) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = window;
  info.nToolBarId = IDR_MENU_BAR;
  info.hInstRes = shell.appInstance;
  shell.menuBar = SHCreateMenuBar(&info) != 0 ? info.hwndMB : nullptr;
  shell.activateInfo = SHACTIVATEINFO{};
  shell.activateInfo.cbSize = sizeof shell.activateInfo;
}

void ShowAboutBox(HWND window) {
  HRSRC found = FindResourceW(shell.appInstance, MAKEINTRESOURCEW(IDD_ABOUT), RT_DIALOG);
  HGLOBAL loaded = LoadResource(shell.appInstance, found);
  DialogBoxIndirectParamW(shell.appInstance, static_cast<LPCDLGTEMPLATEW>(loaded), window, AboutDialogProc, 0);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateMenuBar(window);
      return 0;
    case WM_DESTROY:
      DestroyWindow(shell.menuBar);  // fails harmlessly when there is no bar
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      SHHandleWMActivate(window, wParam, lParam, &shell.activateInfo, 0);
      return 0;
    case WM_PAINT:
      PaintFrame(window);
      return 0;
    case WM_SETTINGCHANGE:
      SHHandleWMSettingChange(window, wParam, lParam, &shell.activateInfo);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case CMD_OK:
          SendMessageW(window, WM_CLOSE, 0, 0);
          return 0;
        case CMD_ABOUT:
          ShowAboutBox(window);
          return 0;
        default:
          return DefWindowProcW(window, message, wParam, lParam);
      }
    case WM_TIMER:
      // Whatever the timer's identifier.
      OnTick(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{};
      info.dwMask = SHIDIM_FLAGS;
      info.hDlg = dialog;
      info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;
      SHInitDialog(&info);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, static_cast<INT_PTR>(message));
      return TRUE;
    default:
      return FALSE;
  }
}
