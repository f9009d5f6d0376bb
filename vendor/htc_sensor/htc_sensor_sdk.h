// The stand-in tilt sensor library, "HTCSensorSDK.dll": the handset's tilt, as the 20-byte
// record a phone's sensor driver fills.
//
// HTCSensorOpen(1) opens the tilt sensor (other numbers name sensors this phone lacks and
// return 0); the handle is opaque. HTCSensorGetDataOutput(handle, record) fills, little-
// endian:
//   bytes 0..3   the count of reads since the sensor was opened, starting at 1;
//   bytes 4..7   the handset's clock at the read, in milliseconds;
//   bytes 8..11  the throttle angle, unsigned degrees (the phone tipped towards the player);
//   bytes 12..15 the steering angle, unsigned degrees (the phone turned left or right);
//   bytes 16..19 the orientation the screen stands in: 0 portrait, 1 landscape (turned
//                to the left), 2 landscape (turned to the right).
// It returns 1, or 0 without writing anything for a handle it did not give out.
// HTCSensorClose(handle) returns 1, or 0 for a handle that is not open.
#pragma once

#include <windows.h>

#include <cstdint>

struct SensorRecord {
  std::uint32_t readCount;
  std::uint32_t clockMs;
  std::uint32_t throttleAngle;
  std::uint32_t steerAngle;
  std::uint32_t orientation;
};
static_assert(sizeof(SensorRecord) == 20);
