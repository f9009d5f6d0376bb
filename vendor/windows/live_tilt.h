// The tilt from a desktop's player, through the desktop hosts' own models: the arrow
// keys, the mouse over the program's window, or a gamepad's left stick. Only while a
// window of this program is in front, so typing elsewhere steers nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tilt_models.h"
#include "xinput_pad.h"

namespace sensor_dll {

class LiveTilt {
 public:
  enum class Kind { Keys, Mouse, Stick, PadElseKeys };

  // `kind`: "keys", "mouse", "stick" or "" (a gamepad when one is connected, else the
  // keys); refuses another. `levelPitch` is the program's level.
  LiveTilt(const std::wstring& kind, double levelPitch);

  kit::SensorAngles Read();

 private:
  kit::PhonePose Keys(HWND front);
  kit::PhonePose Mouse(HWND front) const;

  Kind kind_ = Kind::PadElseKeys;
  kit::Gestures gestures_;
  kit::KeyTilt keys_;
  std::unique_ptr<XInputPad> pad_;
  ULONGLONG lastRead_ = 0;
};

}  // namespace sensor_dll
