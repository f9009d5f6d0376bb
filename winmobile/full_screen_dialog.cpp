// SHInitDialog: a box that fills the phone's screen below the taskbar, with OK in its
// title and an empty soft-key bar under it.
#include <aygshell.h>

#include "caption_ok_button.h"
#include "phone_frame.h"
#include "refusal.h"
#include "window_placement.h"

namespace {
constexpr wchar_t kFunction[] = L"SHInitDialog";
}  // namespace

BOOL SHInitDialog(SHINITDLGINFO* info) {
  using winmobile::Refuse;
  if (info == nullptr) {
    return Refuse(kFunction, L"no SHINITDLGINFO", ERROR_INVALID_PARAMETER);
  }
  if (IsWindow(info->hDlg) == FALSE) {
    return Refuse(kFunction, L"not a window", ERROR_INVALID_WINDOW_HANDLE);
  }
  if (const DWORD unknown = info->dwMask & ~SHIDIM_FLAGS; unknown != 0) {
    return Refuse(kFunction, L"unsupported mask " + winmobile::Hex(unknown), ERROR_INVALID_PARAMETER);
  }
  if ((info->dwMask & SHIDIM_FLAGS) == 0) {
    return TRUE;
  }
  const DWORD flags = info->dwFlags;
  constexpr DWORD kKnownFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN |
                                SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_EMPTYMENU;
  if (const DWORD unknown = flags & ~kKnownFlags; unknown != 0) {
    return Refuse(kFunction, L"unsupported flags " + winmobile::Hex(unknown), ERROR_INVALID_PARAMETER);
  }
  const HWND box = info->hDlg;
  // The bar first, so that sizing counts its strip; a phone without soft keys has none,
  // and says so as the handset does, after the box is sized all the same.
  bool barMade = true;
  if ((flags & SHIDIF_EMPTYMENU) != 0) {
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = box;
    bar.dwFlags = SHCMBF_EMPTYBAR;
    barMade = SHCreateMenuBar(&bar) != FALSE;
  }
  if ((flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0) {
    // Over what its owner shows of the phone, or where a phone's window would go.
    const HWND owner = GetWindow(box, GW_OWNER);
    const RECT area = owner != nullptr && winmobile::IsPhoneWindow(owner) ? winmobile::PhoneAreaOf(owner)
                                                                          : winmobile::DefaultPhoneArea();
    winmobile::FitPhoneArea(box, area);
  }
  if ((flags & SHIDIF_DONEBUTTON) != 0 && !winmobile::AddCaptionOkButton(box)) {
    return winmobile::RefuseFailed(kFunction, L"the OK button cannot be made");
  }
  // SHIDIF_SIPDOWN: there is no input panel to lower.
  return barMade ? TRUE : FALSE;
}
