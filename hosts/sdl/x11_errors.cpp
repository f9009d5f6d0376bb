#include "x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace desktop {

namespace {

XErrorHandler previous = nullptr;

int Forgiving(Display* display, XErrorEvent* error) {
  if (error->request_code == X_SendEvent && error->error_code == BadWindow) {
    return 0;
  }
  return previous != nullptr ? previous(display, error) : 0;
}

}  // namespace

void ForgiveLateWakeups() {
  if (previous == nullptr) {
    previous = XSetErrorHandler(Forgiving);
  }
}

}  // namespace desktop
