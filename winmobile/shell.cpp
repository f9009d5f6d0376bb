#include <aygshell.h>

BOOL SHInitExtraControls() { return TRUE; }
BOOL SHCreateMenuBar(SHMENUBARINFO* /*info*/) { return FALSE; }
BOOL SHHandleWMActivate(HWND /*window*/, WPARAM /*wParam*/, LPARAM /*lParam*/, SHACTIVATEINFO* /*info*/,
                        DWORD /*flags*/) {
  return TRUE;
}
BOOL SHHandleWMSettingChange(HWND /*window*/, WPARAM /*wParam*/, LPARAM /*lParam*/, SHACTIVATEINFO* /*info*/) {
  return TRUE;
}
BOOL SHInitDialog(SHINITDLGINFO* /*info*/) { return TRUE; }
