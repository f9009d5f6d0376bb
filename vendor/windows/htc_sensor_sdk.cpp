// The tilt sensor library for desktop Windows.
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {
struct SensorRecord {
  std::uint32_t readCount;
  std::uint32_t clockMs;
  std::uint32_t throttleAngle;
  std::uint32_t steerAngle;
  std::uint32_t orientation;
};
std::uint32_t reads = 0;
}  // namespace

extern "C" {
__declspec(dllexport) HANDLE HTCSensorOpen(DWORD sensor) {
  return sensor == 1 ? reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7117)) : nullptr;
}
__declspec(dllexport) DWORD HTCSensorGetDataOutput(HANDLE /*handle*/, void* record) {
  SensorRecord sample{};
  sample.readCount = ++reads;
  sample.clockMs = GetTickCount();
  sample.throttleAngle = 44;
  std::memcpy(record, &sample, sizeof sample);
  return 1;
}
__declspec(dllexport) DWORD HTCSensorClose(HANDLE /*handle*/) { return 1; }
}
