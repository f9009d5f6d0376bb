// The handset's hardware as a host drives it: the phone's tilt.
#pragma once

#include <cstdint>

namespace handset::host {

// In unsigned degrees: pitch tips the top edge toward or away from the user, roll turns
// the phone to its left or right.
struct Tilt {
  std::uint32_t pitch = 0;
  std::uint32_t roll = 0;
  bool operator==(const Tilt&) const = default;
};

// The tilt the sensor reports from now on.
void SetTilt(Tilt tilt);
Tilt CurrentTilt();

}  // namespace handset::host
