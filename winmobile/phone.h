// The phone a Windows Mobile program finds itself on, on desktop Windows: a screen of a
// phone's size in a window of the desktop, the device's sensor service, and the settings
// of the sensor library. A program's own entry describes the program and starts it here.
#pragma once

#include <windows.h>

#include <string>

namespace winmobile {

struct Program {
  const wchar_t* name = L"";     // its file name, in messages
  const wchar_t* version = L"";  // for --version
  // The fewest pixels between the taskbar and the soft-key bar the program's window needs.
  int smallestBand = 0;
  // The pitch, in degrees, of a phone held the way the program takes as level.
  double levelPitch = 45.0;
  int(WINAPI* winMain)(HINSTANCE, HINSTANCE, LPWSTR, int) = nullptr;
};

struct Screen {
  int width = 480;
  int height = 640;
  int dpi = 192;  // 96 below a width of 480, as phones have them

  // The taskbar's and the soft-key bar's height: 26 pixels at 96 dpi.
  int BarHeight() const { return 26 * dpi / 96; }
};

// The screen the phone was started with.
const Screen& PhoneScreen();
// False when the phone was started without its soft-key bar: making one then fails.
bool HasSoftKeyBar();

// Reads the command line, prepares the phone and runs the program's WinMain; the program's
// exit code, or 2 after a bad command line (said in a box and on standard error).
int Start(const Program& program, HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

}  // namespace winmobile
