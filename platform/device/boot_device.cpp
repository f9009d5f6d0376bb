// The phone as the options leave it: module folder, pieces hidden, service running.
#include "platform/device/device.h"
#include "platform/device/device_options.h"
#include "platform/device/sensor_service.h"
#include "platform/handset/handset.h"
#include "platform/kernel/modules.h"

namespace handset {

void BootDevice(const DeviceOptions& options, const std::filesystem::path& moduleFolder) {
  TheHandset().moduleFolder = moduleFolder;
  SetAttachTable(&DeviceTable());
  Device().softKeyBars = options.softKeyBar;
  if (!options.sensorLibrary) {
    HideModule(u"HTCSensorSDK.dll");
  }
  if (!options.navLibrary) {
    HideModule(u"HTCAPI.dll");
  }
  if (!options.aygshellNotify) {
    HideEntryPoint(u"aygshell.dll", "RegistryNotifyWindow");
    HideEntryPoint(u"aygshell.dll", "RegistryCloseNotification");
  }
  for (const auto& [dll, function] : options.lacking) {
    HideEntryPoint(dll, function);
  }
  if (options.sensorService) {
    StartSensorServiceOfDevice(options.serviceStopsEarly);
  }
}

}  // namespace handset
