#include "phone.h"

#include <shellapi.h>

#include <memory>
#include <vector>

#include "console.h"
#include "options.h"
#include "sensor_service.h"
#include "window_placement.h"

namespace winmobile {

namespace {

Screen startedScreen;
bool softKeyBar = true;

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) {
    args.emplace_back(argv.get()[i]);
  }
  return args;
}

// The sensor library reads its settings where a device keeps them for it.
void SetSensorSetting(const wchar_t* name, const std::wstring& value) {
  SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

const Screen& PhoneScreen() { return startedScreen; }
bool HasSoftKeyBar() { return softKeyBar; }

int Start(const Program& program, HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  std::wstring error;
  const auto options = ParseOptions(CommandLineArguments(), program.smallestBand, error);
  if (!options) {
    Tell(STD_ERROR_HANDLE, std::wstring(program.name) + L": " + error, program.name, MB_ICONERROR);
    return 2;
  }
  if (options->help) {
    Tell(STD_OUTPUT_HANDLE, OptionsHelp(program.name), program.name, MB_ICONINFORMATION);
    return 0;
  }
  if (options->version) {
    Tell(STD_OUTPUT_HANDLE, std::wstring(program.name) + L" " + program.version, program.name, MB_ICONINFORMATION);
    return 0;
  }
  startedScreen = options->screen;
  softKeyBar = options->softKeyBar;
  SetSensorSetting(L"HTC_SENSOR_TILT", options->tilt);
  SetSensorSetting(L"HTC_SENSOR_SCRIPT", options->script);
  SetSensorSetting(L"HTC_SENSOR_SHOTS", options->shots);
  SetSensorSetting(L"HTC_SENSOR_LEVEL", std::to_wstring(program.levelPitch));
  std::unique_ptr<SensorService> service;
  if (options->sensorService) {
    service = std::make_unique<SensorService>();
  }
  // The phone's command line, which the program does not read.
  std::wstring commandLine;
  // The program's windows get the phone's place on the desktop as they are made.
  const PlacementHook placement;
  return program.winMain(instance, previousInstance, commandLine.data(), showCommand);
}

}  // namespace winmobile
