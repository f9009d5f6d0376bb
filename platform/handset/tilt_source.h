// The angles the handset's tilt sensor reports from now on, as a host sets them.
#pragma once

#include <cstdint>

namespace handset {

struct TiltAngles {
  std::uint32_t throttle = 0;
  std::uint32_t steer = 0;
};

void SetTilt(std::uint32_t throttle, std::uint32_t steer);
TiltAngles CurrentTilt();

}  // namespace handset
