// A gamepad through XInput, loaded at run time by name: a Windows without it has no
// gamepad, not a program that fails to start.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

namespace sensor_dll {

class XInputPad {
 public:
  XInputPad();
  ~XInputPad();
  XInputPad(const XInputPad&) = delete;
  XInputPad& operator=(const XInputPad&) = delete;

  // The left stick of the first connected pad (x right, y down, -32768..32767); none
  // without one.
  std::optional<std::pair<int, int>> LeftStick();

 private:
  using GetStateProc = DWORD(WINAPI*)(DWORD, void*);
  HMODULE library_ = nullptr;
  GetStateProc getState_ = nullptr;
  int pad_ = -1;            // the pad last found connected
  ULONGLONG lookedAt_ = 0;  // when the others were last asked
};

}  // namespace sensor_dll
