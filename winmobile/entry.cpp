// Desktop Windows starts the program here: the phone's parts the program expects to find
// already running are made first, then the program's own WinMain runs.
#include <windows.h>

#include "sensor_service.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand) {
  const winmobile::SensorService service;
  return WinMain(instance, previousInstance, commandLine, showCommand);
}
