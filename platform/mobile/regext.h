// Registry change notifications of the mobile shell, shared by the handset and the desktop
// Windows layer: a window gets a message whenever a value changes. The shell library
// exports these by name; desktop Windows has no such library, so a program there goes on
// without them.
#pragma once

#include <windows.h>

DECLARE_HANDLE(HREGNOTIFY);

// Which changes count; the handset reports every change whatever the condition.
struct NOTIFICATIONCONDITION {
  DWORD ctComparisonType;
  DWORD dwMask;
  DWORD dwValue;
};

// At each change of the value, posts `message` to `window` with `userData` as wParam and
// a DWORD value's new content (else 0) as lParam. E_INVALIDARG for no window, key or
// `notify`.
using RegistryNotifyWindowProc = HRESULT (*)(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message,
                                             DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
// Ends the registration; E_INVALIDARG for a handle that is none.
using RegistryCloseNotificationProc = HRESULT (*)(HREGNOTIFY notify);
