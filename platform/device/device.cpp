// The hardware table for vendor libraries, over the handset's tilt and clock.
#include "platform/device/device.h"

#include <windows.h>

#include <memory>

#include "platform/handset/handset.h"

namespace handset {

DeviceState& Device() {
  auto& slot = TheHandset().device;
  if (!slot) {
    slot = std::make_shared<DeviceState>();
  }
  return *slot;
}

void SetTilt(TiltAngles angles) {
  DeviceState& device = Device();
  device.tilt = angles;
  // Only those there before; the tilt is set every tick, so nothing is copied.
  const std::size_t watchers = device.tiltWatchers.size();
  for (std::size_t i = 0; i < watchers; ++i) {
    device.tiltWatchers[i](angles);
  }
}

TiltAngles CurrentTilt() { return Device().tilt; }

namespace {

void ReadTilt(std::uint32_t* pitchAngle, std::uint32_t* rollAngle) {
  const TiltAngles tilt = CurrentTilt();
  if (pitchAngle != nullptr) {
    *pitchAngle = tilt.pitch;
  }
  if (rollAngle != nullptr) {
    *rollAngle = tilt.roll;
  }
}

std::uint32_t Now() { return GetTickCount(); }

void ReportCall(const char* function, const HandsetCallArg* args, std::uint32_t count) {
  const auto& deviceCall = TheHandset().hooks.deviceCall;
  if (!deviceCall || function == nullptr || (args == nullptr && count != 0)) {
    return;
  }
  deviceCall(function, std::span<const HandsetCallArg>(args, count));
}

constexpr HandsetDevice kTable{sizeof(HandsetDevice), ReadTilt, Now, ReportCall};

}  // namespace

const HandsetDevice& DeviceTable() { return kTable; }

}  // namespace handset
