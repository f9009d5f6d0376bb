// The navigation control binding: three look-ups, then open and two mode settings.
#include "sensor/nav_control.h"

#include "sensor/entry_point.h"

HTCNavOpenProc HTCNavOpen = nullptr;
HTCNavSetModeProc HTCNavSetMode = nullptr;
HTCNavCloseProc HTCNavClose = nullptr;

namespace {
constexpr DWORD NAV_OPEN_VALUE = 1;
constexpr DWORD NAV_FIRST_MODE = 4;
constexpr DWORD NAV_SECOND_MODE = 5;
}  // namespace

int OpenNavControl(HWND window) {
  HMODULE library = LoadLibraryW(TEXT("HTCAPI.dll"));
  if (library == nullptr) {
    ReportError(window, TEXT("Unable to load HTC API DLL"));
    return 0;
  }
  HTCNavOpen = EntryPoint<HTCNavOpenProc>(library, TEXT("HTCNavOpen"));
  HTCNavSetMode = EntryPoint<HTCNavSetModeProc>(library, TEXT("HTCNavSetMode"));
  HTCNavClose = EntryPoint<HTCNavCloseProc>(library, TEXT("HTCNavClose"));
  if (HTCNavOpen == nullptr || HTCNavSetMode == nullptr || HTCNavClose == nullptr) {
    ReportError(window, TEXT("Unable to find entry point"));
    return 0;
  }
  HTCNavOpen(window, NAV_OPEN_VALUE);
  HTCNavSetMode(window, NAV_FIRST_MODE);
  HTCNavSetMode(window, NAV_SECOND_MODE);
  return 1;
}
