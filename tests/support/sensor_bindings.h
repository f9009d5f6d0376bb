// The game's sensor, navigation and notification bindings as a fresh process has them:
// tests that load the libraries start from here.
#pragma once

#include <windows.h>

#include "sensor/nav_control.h"
#include "sensor/service_client.h"
#include "sensor/tilt_sensor.h"

namespace testsupport {

// A function as a module's entry point.
template <typename F>
FARPROC Entry(F function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

// The tilt sensor's part alone, for tests that link no other binding.
inline void ResetTiltBindings() {
  HTCSensorOpen = nullptr;
  HTCSensorClose = nullptr;
  HTCSensorGetDataOutput = nullptr;
  sensorHandle = nullptr;
  tiltSample = TiltSample{};
  sensorOpen = FALSE;
}

inline void ResetSensorBindings() {
  ResetTiltBindings();
  HTCNavOpen = nullptr;
  HTCNavSetMode = nullptr;
  HTCNavClose = nullptr;
  notifyHandle = nullptr;
  aygshellModule = nullptr;
  RegistryNotifyWindow = nullptr;
  RegistryCloseNotification = nullptr;
}

}  // namespace testsupport
