// The mobile shell's records and flags, laid out as Windows Mobile's: shared by the
// handset's aygshell.h and the desktop Windows layer's, which each declare the functions.
#pragma once

#include <windows.h>

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
