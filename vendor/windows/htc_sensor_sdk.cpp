// The tilt sensor library, "HTCSensorSDK.dll", for desktop Windows: the record the phone's
// driver fills (vendor/htc_sensor/htc_sensor_sdk.h), with the tilt from the player's keys,
// mouse or gamepad, or from a script that also takes pictures of the program's window.
// The phone's layer passes its settings in the environment: HTC_SENSOR_TILT,
// HTC_SENSOR_LEVEL (the program's level pitch, degrees), HTC_SENSOR_SCRIPT, HTC_SENSOR_SHOTS.
#include "vendor/htc_sensor/htc_sensor_sdk.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <optional>

#include "live_tilt.h"
#include "platform/include/handset_device.h"
#include "script_tilt.h"
#include "settings.h"

namespace {

constexpr DWORD TILT_SENSOR = 1;
// A recognisable handle; the program treats it as opaque.
const auto kOpenHandle = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7117));
// Half the sensor's range, for a layer that does not say what the program takes as level.
constexpr double kMidwayPitch = 45.0;

double LevelPitch() {
  const std::wstring text = sensor_dll::Setting(L"HTC_SENSOR_LEVEL");
  if (text.empty()) {
    return kMidwayPitch;
  }
  wchar_t* end = nullptr;
  const double level = std::wcstod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !(level >= 0.0 && level <= 90.0)) {
    sensor_dll::Refuse("HTC_SENSOR_LEVEL=" + sensor_dll::Utf8(text) + ": not a pitch of 0..90 degrees");
  }
  return level;
}

// One source for the whole run: a script is played once, however often the sensor opens.
struct Source {
  std::unique_ptr<sensor_dll::ScriptTilt> script;
  std::unique_ptr<sensor_dll::LiveTilt> live;
};
std::optional<Source> source;
bool sensorOpen = false;
std::uint32_t reads = 0;

}  // namespace

extern "C" {

__declspec(dllexport) HANDLE HTCSensorOpen(DWORD sensor) {
  if (sensor != TILT_SENSOR) {
    return nullptr;
  }
  if (!source) {
    source.emplace();
    if (const std::wstring script = sensor_dll::Setting(L"HTC_SENSOR_SCRIPT"); !script.empty()) {
      source->script = std::make_unique<sensor_dll::ScriptTilt>(script, sensor_dll::Setting(L"HTC_SENSOR_SHOTS"));
    } else {
      source->live = std::make_unique<sensor_dll::LiveTilt>(sensor_dll::Setting(L"HTC_SENSOR_TILT"), LevelPitch());
    }
  }
  sensorOpen = true;
  reads = 0;
  return kOpenHandle;
}

__declspec(dllexport) DWORD HTCSensorGetDataOutput(HANDLE handle, void* record) {
  if (!sensorOpen || handle != kOpenHandle || record == nullptr) {
    return 0;
  }
  SensorRecord sample{};
  sample.readCount = ++reads;
  kit::SensorAngles angles;
  if (source->script) {
    angles = source->script->Read();
    sample.clockMs = static_cast<std::uint32_t>(source->script->ClockMs());
  } else {
    angles = source->live->Read();
    sample.clockMs = GetTickCount();
  }
  // The record's throttle is the phone's pitch, its steering the roll.
  sample.throttleAngle = angles.throttle;
  sample.steerAngle = angles.steer;
  sample.orientation = HandsetOrientationOf(sample.steerAngle);
  std::memcpy(record, &sample, sizeof sample);
  return 1;
}

__declspec(dllexport) DWORD HTCSensorClose(HANDLE handle) {
  if (!sensorOpen || handle != kOpenHandle) {
    return 0;
  }
  sensorOpen = false;
  return 1;
}
}
