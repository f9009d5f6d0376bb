// Telling the main window apart, and the time a closing program is given.
#include "main_window.h"

#include "platform/host/clock.h"
#include "platform/host/input.h"

namespace kit {

void MainWindow::Note(HWND window) {
  if (window_ == nullptr && handset::host::IsMainWindowCandidate(window)) {
    window_ = window;
  }
}

bool WithinClosingGrace(DWORD closedAt, DWORD when) {
  return handset::host::TicksUntil(when, closedAt + kClosingGrace) <= 0;
}

}  // namespace kit
