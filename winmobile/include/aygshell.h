// The mobile shell's share of a program's window on desktop Windows: the soft-key bar
// under the window, the full-screen box with OK in its title, and the shell's handling of
// activation. The records are laid out as Windows Mobile's.
#pragma once

#include <windows.h>

#include "regext.h"

#define I_IMAGENONE (-2)
#define NOMENU 0xFFFF
#define TBSTATE_ENABLED 0x04
#define TBSTYLE_DROPDOWN 0x08
#define TBSTYLE_AUTOSIZE 0x10

#define SHCMBF_EMPTYBAR 0x0001U
#define SHCMBF_HIDDEN 0x0002U

#define SHIDIM_FLAGS 0x0001U
#define SHIDIF_DONEBUTTON 0x0001U
#define SHIDIF_SIZEDLG 0x0002U
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004U
#define SHIDIF_SIPDOWN 0x0008U
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010U
#define SHIDIF_EMPTYMENU 0x0020U

struct SHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;  // filled in: the bar
  COLORREF clrBk;
};

struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};

BOOL SHInitExtraControls();
// Builds the bar from the RCDATA `nToolBarId` of `hInstRes` under `hwndParent`.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);
// Deactivated, keeps the focus in `info->hwndLastFocus` and gives it back on activation.
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
// There is no input panel: nothing to do.
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
// Sizes the box to the phone's screen under the taskbar and puts OK in its title.
BOOL SHInitDialog(SHINITDLGINFO* info);
