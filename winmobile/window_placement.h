// Where a program's windows go on the desktop: its top-level window shows the phone's
// screen below the taskbar in a desktop frame whose title stands in for the taskbar.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace winmobile {

// While it lives, every top-level window the thread creates without a parent or a popup
// style becomes a phone's window (phone_frame.h).
class PlacementHook {
 public:
  PlacementHook();

 private:
  struct Unhook {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
  };
  std::unique_ptr<std::remove_pointer_t<HHOOK>, Unhook> hook_;
};

// The phone's screen below the taskbar, as a desktop rectangle: W x (H - bar), placed so
// that its frame is centred on the desktop's work area.
RECT DefaultPhoneArea();
// A desktop frame a player knows: a title with close and minimise, not resizable.
void TakeDesktopFrame(HWND window);

}  // namespace winmobile
