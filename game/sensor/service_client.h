// The game's end of the handshake with the device's sensor service: its named event is
// set at start and at stop, and the shell is asked to report changes of its registry value.
#pragma once

#include <aygshell.h>
#include <windows.h>

inline constexpr UINT SENSOR_NOTIFY_MSG = WM_USER + 1;

extern HREGNOTIFY notifyHandle;
extern HMODULE aygshellModule;
extern RegistryNotifyWindowProc RegistryNotifyWindow;
extern RegistryCloseNotificationProc RegistryCloseNotification;

// Sets the service's event and registers `window` for the value's changes. 1 on
// success; 0 after reporting that the service is not there.
int StartSensorService(HWND window);
// Sets the event again and ends the registration. 1, or 0 after reporting.
int StopSensorService();

// The shell's functions, bound by name on first use; 0 when they cannot be bound.
HRESULT CallRegistryNotifyWindow(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message,
                                 DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify);
HRESULT CallRegistryCloseNotification(HREGNOTIFY notify);
