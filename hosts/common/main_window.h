// The program's main window as a host tells it: the first window to hear anything that
// can be one. CreateWindowExW sends WM_CREATE and its kin, so that is the first one made.
#pragma once

#include <windows.h>

namespace kit {

class MainWindow {
 public:
  // Called with the window of every message delivered or handled.
  void Note(HWND window);
  HWND Get() const { return window_; }
  bool Is(HWND window) const { return window_ != nullptr && window == window_; }

 private:
  HWND window_ = nullptr;
};

// How long, on the handset's clock, a program may take to end once told to close.
inline constexpr DWORD kClosingGrace = 10000;

// Whether `when` is still within the grace of a program told to close at `closedAt`.
bool WithinClosingGrace(DWORD closedAt, DWORD when);

}  // namespace kit
