#include "window_title.h"

#include "platform/host/device.h"

namespace desktop {

std::string TiltText(const std::string& source) {
  const handset::host::Tilt tilt = handset::host::CurrentTilt();
  return "tilt " + std::to_string(tilt.pitch) + " " + std::to_string(tilt.roll) +
         (source.empty() ? std::string() : " (" + source + ")");
}

}  // namespace desktop
