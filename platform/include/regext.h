// Registry change notifications of the mobile shell: a window gets a message whenever a
// value changes. The shell library exports these by name.
#pragma once

#include "windows.h"

DECLARE_HANDLE(HREGNOTIFY);

// Which changes count; the handset reports every change whatever the condition.
struct NOTIFICATIONCONDITION {
  DWORD ctComparisonType;
  DWORD dwMask;
  DWORD dwValue;
};

using RegistryNotifyWindowProc = HRESULT (*)(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message,
                                             DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
using RegistryCloseNotificationProc = HRESULT (*)(HREGNOTIFY notify);
