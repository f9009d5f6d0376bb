// The stand-in device library, "HTCAPI.dll": the navigation control, which this handset
// has no wheel for; it keeps the modes it is asked for and reports every call.
#include "device_link.h"

namespace {
HWND navWindow = nullptr;
}  // namespace

VENDOR_EXPORT DWORD HTCNavOpen(HWND window, DWORD value) {
  vendor::Report("HTCNavOpen", {vendor::Window(window), vendor::Number(value)});
  navWindow = window;
  return 1;
}

VENDOR_EXPORT DWORD HTCNavSetMode(HWND window, DWORD mode) {
  vendor::Report("HTCNavSetMode", {vendor::Window(window), vendor::Number(mode)});
  return window == navWindow ? 1U : 0U;
}

VENDOR_EXPORT DWORD HTCNavClose(HWND window) {
  vendor::Report("HTCNavClose", {vendor::Window(window)});
  if (window != navWindow) {
    return 0;
  }
  navWindow = nullptr;
  return 1;
}
