// The tilt sensor binding: the library loaded by name, its entry points held for the
// run, the sensor opened once.
#include "sensor/entry_point.h"
#include "sensor/tilt_sensor.h"

namespace {
constexpr DWORD TILT_SENSOR = 1;
}  // namespace

int OpenTiltSensor() {
  HMODULE library = LoadLibraryW(TEXT("HTCSensorSDK.dll"));
  if (library == nullptr) {
    ReportError(nullptr, TEXT("Unable to load Sensor DLL"));
    return 0;
  }
  // Every look-up is made before any is tested.
  HTCSensorOpen = EntryPoint<HTCSensorOpenProc>(library, TEXT("HTCSensorOpen"));
  HTCSensorClose = EntryPoint<HTCSensorCloseProc>(library, TEXT("HTCSensorClose"));
  HTCSensorGetDataOutput = EntryPoint<HTCSensorGetDataOutputProc>(library, TEXT("HTCSensorGetDataOutput"));
  if (HTCSensorOpen == nullptr || HTCSensorClose == nullptr || HTCSensorGetDataOutput == nullptr) {
    ReportError(nullptr, TEXT("Unable to find entry point"));
    return 0;
  }
  sensorHandle = HTCSensorOpen(TILT_SENSOR);
  sensorOpen = TRUE;
  return 1;
}

void CloseTiltSensor() {
  if (!sensorOpen) {
    return;
  }
  sensorOpen = FALSE;
  HTCSensorClose(sensorHandle);
}
