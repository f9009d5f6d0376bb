#include "platform/device/sensor_service.h"

#include <windows.h>

#include <memory>

#include "platform/device/device.h"
#include "platform/handset/handset.h"
#include "platform/kernel/events.h"

namespace handset {

namespace {

void WriteOrientation(DWORD orientation) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kServiceKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, kServiceValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&orientation), sizeof orientation);
  RegCloseKey(key);
}

}  // namespace

void StartSensorServiceOfDevice(bool stopsEarly) {
  auto service = std::make_shared<SensorServiceState>();
  service->stopsEarly = stopsEarly;
  service->event = CreateEventW(nullptr, TRUE, FALSE, kServiceEvent);
  WriteOrientation(0);
  std::weak_ptr<SensorServiceState> weak = service;
  WatchEvent(kServiceEvent, [weak](DWORD action) {
    const auto running = weak.lock();
    if (!running || action != EVENT_SET) {
      return;
    }
    ++running->signals;
    running->running = !running->running;
    if (running->event != nullptr) {
      ResetEvent(running->event);  // taken: the next set is a new signal
      if (running->stopsEarly) {
        CloseHandle(running->event);
        running->event = nullptr;
      }
    }
  });
  Device().tiltWatchers.emplace_back([weak](const TiltAngles& tilt) {
    const auto running = weak.lock();
    const DWORD orientation = HandsetOrientationOf(tilt.roll);
    if (running && running->running && orientation != running->orientation) {
      running->orientation = orientation;
      WriteOrientation(orientation);
    }
  });
  Device().service = std::move(service);
}

int SensorServiceSignals() {
  const auto& service = Device().service;
  return service ? service->signals : 0;
}

bool SensorServiceRunning() {
  const auto& service = Device().service;
  return service && service->running;
}

}  // namespace handset
