// Windows Mobile's SetForegroundWindow, whose handle may carry a request in its lowest
// bit that desktop Windows would take for another window.
#include <windows.h>

#include <cstdint>

#undef SetForegroundWindow

BOOL WinMobileSetForegroundWindow(HWND window) {
  const auto value = reinterpret_cast<std::uintptr_t>(window);
  const HWND handle = reinterpret_cast<HWND>(value & ~std::uintptr_t{1});
  if (!IsWindow(handle)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // A phone has no minimised windows: one brought forward is one seen.
  if (IsIconic(handle)) {
    ShowWindow(handle, SW_RESTORE);
  }
  // Owned boxes stay above their owner on the desktop: activating the last one active
  // brings them forward together.
  return SetForegroundWindow((value & 1U) != 0 ? GetLastActivePopup(handle) : handle);
}
