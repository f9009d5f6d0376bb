// The tilt record lives in the handset so that Reset() levels the handset again.
#include "handset/tilt_source.h"

#include "handset/handset.h"

namespace handset {

void SetTilt(std::uint32_t throttle, std::uint32_t steer) { TheHandset().tilt = TiltAngles{throttle, steer}; }

TiltAngles CurrentTilt() { return TheHandset().tilt; }

}  // namespace handset
