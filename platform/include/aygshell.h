// The mobile shell: the soft-key bar, full-screen dialogs and the shell's share of
// activation. Record sizes are checked against sizeof of these structures: a wrong cbSize,
// like a flag the handset does not implement, is refused with ERROR_INVALID_PARAMETER (the
// refusal reported to the host).
#pragma once

#include "regext.h"
#include "windows.h"

// SHMENUBARINFO
#define SHCMBF_EMPTYBAR 0x0001U
#define SHCMBF_HIDDEN 0x0002U
#define SHCMBF_HIDESIPBUTTON 0x0004U
#define SHCMBF_COLORBK 0x0008U
#define SHCMBF_HMENU 0x0010U

// The soft-key bar resource's button words.
#define I_IMAGENONE (-2)
#define NOMENU 0xFFFF
#define TBSTATE_ENABLED 0x04
#define TBSTYLE_BUTTON 0x00
#define TBSTYLE_DROPDOWN 0x08
#define TBSTYLE_AUTOSIZE 0x10

// The soft keys arrive as these virtual keys.
#define VK_TSOFT1 VK_F1
#define VK_TSOFT2 VK_F2

// SHINITDLGINFO
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
using PSHMENUBARINFO = SHMENUBARINFO*;

struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO*;

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
