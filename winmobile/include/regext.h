// Registry change notifications of the mobile shell, which the program binds by name from
// "aygshell.dll" at run time. Desktop Windows has no such library, so the binding fails
// and the program goes on without the notification, as it does on a phone without it.
#pragma once

#include <windows.h>

DECLARE_HANDLE(HREGNOTIFY);

struct NOTIFICATIONCONDITION {
  DWORD ctComparisonType;
  DWORD dwMask;
  DWORD dwValue;
};

using RegistryNotifyWindowProc = HRESULT (*)(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message,
                                             DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
using RegistryCloseNotificationProc = HRESULT (*)(HREGNOTIFY notify);
