// Keyboard shortcuts: a key message that matches a table entry becomes WM_COMMAND.
#include <windows.h>

#include "platform/handset/refuse.h"
#include "platform/resources/accelerator_table.h"

namespace {

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool Matches(const ACCEL& entry, const MSG& message) {
  if ((entry.fVirt & FVIRTKEY) == 0) {
    // A character entry: the translated character, whatever the modifiers.
    return message.message == WM_CHAR && message.wParam == entry.key;
  }
  if (message.message != WM_KEYDOWN || message.wParam != entry.key) {
    return false;
  }
  return Held(VK_CONTROL) == ((entry.fVirt & FCONTROL) != 0) && Held(VK_SHIFT) == ((entry.fVirt & FSHIFT) != 0) &&
         Held(VK_MENU) == ((entry.fVirt & FALT) != 0);
}

}  // namespace

int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG message) {
  const auto accelerators = handset::AcceleratorsFromHandle(table);
  if (!accelerators || message == nullptr || !IsWindow(window)) {
    handset::Refuse("TranslateAcceleratorW",
                    !accelerators        ? "not an accelerator table"
                    : message == nullptr ? "no message"
                                         : "not a window",
                    ERROR_INVALID_PARAMETER);
    return 0;
  }
  for (const ACCEL& entry : accelerators->entries) {
    if (Matches(entry, *message)) {
      // High word 1: the command came from an accelerator.
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
      return 1;
    }
  }
  return 0;
}
