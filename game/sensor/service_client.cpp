// The game's end of the sensor service handshake, and the forwarders to the shell's
// registry notification.
#include "sensor/service_client.h"

#include "sensor/entry_point.h"

HREGNOTIFY notifyHandle = nullptr;
HMODULE aygshellModule = nullptr;
RegistryNotifyWindowProc RegistryNotifyWindow = nullptr;
RegistryCloseNotificationProc RegistryCloseNotification = nullptr;

namespace {
constexpr WCHAR SERVICE_EVENT[] = TEXT("HTC_GSENSOR_SERVICESTART");
constexpr WCHAR SERVICE_KEY[] = TEXT("Software\\HTC\\HTCSensor\\GSensor");
constexpr WCHAR SERVICE_VALUE[] = TEXT("EventChanged");
constexpr DWORD NOTIFY_USER_DATA = 1;

// Opens the service's event (creating it if the service is absent), sets it and closes
// the handle. False, with nothing set, when the event did not exist before.
bool SignalService() {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, SERVICE_EVENT);
  if (event == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
    if (event != nullptr) {
      CloseHandle(event);
    }
    return false;
  }
  EventModify(event, EVENT_SET);
  CloseHandle(event);
  return true;
}

bool BindShell() {
  if (aygshellModule == nullptr) {
    aygshellModule = LoadLibraryW(TEXT("aygshell.dll"));
  }
  return aygshellModule != nullptr;
}
}  // namespace

HRESULT CallRegistryNotifyWindow(HKEY root, LPCWSTR subKey, LPCWSTR valueName, HWND window, UINT message,
                                 DWORD userData, NOTIFICATIONCONDITION* condition, HREGNOTIFY* notify) {
  if (!BindShell()) {
    return 0;
  }
  if (RegistryNotifyWindow == nullptr) {
    RegistryNotifyWindow = EntryPoint<RegistryNotifyWindowProc>(aygshellModule, TEXT("RegistryNotifyWindow"));
    if (RegistryNotifyWindow == nullptr) {
      return 0;
    }
  }
  return RegistryNotifyWindow(root, subKey, valueName, window, message, userData, condition, notify);
}

HRESULT CallRegistryCloseNotification(HREGNOTIFY notify) {
  if (!BindShell()) {
    return 0;
  }
  if (RegistryCloseNotification == nullptr) {
    RegistryCloseNotification =
        EntryPoint<RegistryCloseNotificationProc>(aygshellModule, TEXT("RegistryCloseNotification"));
    if (RegistryCloseNotification == nullptr) {
      return 0;
    }
  }
  return RegistryCloseNotification(notify);
}

int StartSensorService(HWND window) {
  if (!SignalService()) {
    ReportError(window, TEXT("Unable to create Sensor Event"));
    return 0;
  }
  notifyHandle = nullptr;
  CallRegistryNotifyWindow(HKEY_LOCAL_MACHINE, SERVICE_KEY, SERVICE_VALUE, window, SENSOR_NOTIFY_MSG, NOTIFY_USER_DATA,
                           nullptr, &notifyHandle);
  return 1;
}

int StopSensorService() {
  if (!SignalService()) {
    ReportError(nullptr, TEXT("Unable to create Sensor Event"));
    return 0;
  }
  CallRegistryCloseNotification(notifyHandle);
  return 1;
}
