// The game on desktop Windows: the program as the phone's layer runs it.
#include <windows.h>

#include "phone.h"
#include "shell/shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR /*commandLine*/, int showCommand) {
  winmobile::Program program;
  program.name = L"vireta";
  program.version = VIRETA_VERSION;
  // The game's 200-pixel display band with at least one 40-pixel road segment above it.
  program.smallestBand = 200 + 40;
  program.levelPitch = 44.0;
  program.winMain = WinMain;
  return winmobile::Start(program, instance, previousInstance, showCommand);
}
