// Desktop Windows' own windows.h, with the few names of Windows Mobile's core library
// that desktop Windows lacks. Game code includes this as it includes the phone's.
#pragma once
#pragma GCC system_header  // for #include_next, an extension the warnings would refuse

#include_next <windows.h>

// Look-up by wide name: desktop Windows exports only the narrow GetProcAddress.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR name);

#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
// Sets, resets or pulses an event; desktop Windows has a function for each.
BOOL EventModify(HANDLE event, DWORD action);

// The lowest bit of the handle asks for the window's owned boxes to come forward with it;
// desktop Windows would take that handle for another window.
#define SetForegroundWindow WinMobileSetForegroundWindow
BOOL WinMobileSetForegroundWindow(HWND window);

// A Windows Mobile program's entry takes a wide command line under the narrow name.
// Desktop Windows starts wWinMain instead, which the layer gives: it prepares the phone
// and then calls the program's WinMain under this name.
#define WinMain WinMobileMain
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
