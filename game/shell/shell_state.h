// The device shell's record, held for the whole run like the game state.
#pragma once

#include <aygshell.h>
#include <windows.h>

struct ShellState {
  HINSTANCE appInstance;  // stored first thing at start-up
  HWND menuBar;           // the soft-key bar, 0 when making it failed
  SHACTIVATEINFO activateInfo;
};

extern ShellState shell;
