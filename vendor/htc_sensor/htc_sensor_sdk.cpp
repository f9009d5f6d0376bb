// The stand-in tilt sensor library: one sensor, opened by number, read into the caller's
// 20-byte record.
#include "htc_sensor/htc_sensor_sdk.h"

#include <cstring>

#include "device_link.h"

namespace {

constexpr DWORD TILT_SENSOR = 1;
// A recognisable handle; the program treats it as opaque.
const auto kOpenHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7117));
bool sensorOpen = false;
std::uint32_t reads = 0;

}  // namespace

VENDOR_EXPORT HANDLE HTCSensorOpen(DWORD sensor) {
  vendor::Report("HTCSensorOpen", {vendor::Number(sensor)});
  if (sensor != TILT_SENSOR) {
    return nullptr;
  }
  sensorOpen = true;
  reads = 0;
  return kOpenHandle;
}

VENDOR_EXPORT DWORD HTCSensorGetDataOutput(HANDLE handle, void* record) {
  vendor::Report("HTCSensorGetDataOutput", {vendor::Handle(handle), vendor::Handle(record)});
  const HandsetDevice* device = vendor::Device();
  if (!sensorOpen || handle != kOpenHandle || record == nullptr || device == nullptr) {
    return 0;
  }
  SensorRecord sample{};
  sample.readCount = ++reads;
  sample.clockMs = device->now();
  // The record's throttle is the phone's pitch, its steering the roll.
  device->readTilt(&sample.throttleAngle, &sample.steerAngle);
  sample.orientation = HandsetOrientationOf(sample.steerAngle);
  std::memcpy(record, &sample, sizeof sample);
  return 1;
}

VENDOR_EXPORT DWORD HTCSensorClose(HANDLE handle) {
  vendor::Report("HTCSensorClose", {vendor::Handle(handle)});
  if (!sensorOpen || handle != kOpenHandle) {
    return 0;
  }
  sensorOpen = false;
  return 1;
}
