// The handset's hardware as the vendor libraries see it, and what the host learns of
// their calls.
#pragma once

#include <handset_device.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace handset {

// As the phone's accelerometer gives it, in unsigned degrees: pitch tips the top edge
// toward or away from the user, roll turns the phone to its left or right.
struct TiltAngles {
  std::uint32_t pitch = 0;
  std::uint32_t roll = 0;
};

// The device's sensor service (device/sensor_service.h).
struct SensorServiceState {
  void* event = nullptr;  // the HANDLE it holds, while it holds one
  bool stopsEarly = false;
  int signals = 0;
  bool running = false;
  std::uint32_t orientation = 0;
};

struct DeviceState {
  TiltAngles tilt;
  // Told of every change of tilt: the sensor service watches the phone's orientation.
  // A deque: a watcher may add watchers while it runs without moving itself.
  std::deque<std::function<void(const TiltAngles&)>> tiltWatchers;
  std::shared_ptr<SensorServiceState> service;
  // False when the shell is to fail every soft-key bar, as on a phone short of memory.
  bool softKeyBars = true;
};

DeviceState& Device();

// The angles the sensor reports from now on.
void SetTilt(TiltAngles angles);
TiltAngles CurrentTilt();

// The table handed to each vendor library that asks for it.
const HandsetDevice& DeviceTable();

}  // namespace handset
