// Where the desktop player's tilt comes from: the arrow keys, the pointer over the
// screen, a gamepad's left stick or its accelerometer, read as the sensor's angles.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "desktop_options.h"
#include "tilt_models.h"

namespace desktop {

class TiltSource {
 public:
  // `kind` none: motion when a gamepad has an accelerometer, else stick when a gamepad
  // is connected, else keys. Needs SDL's game-controller part started, if it could be.
  TiltSource(std::optional<TiltKind> kind, const kit::Gestures& gestures);
  ~TiltSource();
  TiltSource(const TiltSource&) = delete;
  TiltSource& operator=(const TiltSource&) = delete;

  TiltKind Kind() const { return kind_; }
  const char* Name() const;
  // The keys drive the tilt: the arrows are not the phone's then.
  bool TakesArrows() const { return kind_ == TiltKind::Keys; }

  // A gamepad came or went.
  void DeviceAdded(int joystickIndex);
  void DeviceRemoved(SDL_JoystickID id);
  // The pointer moved, in screen coordinates.
  void Pointer(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
  }

  // The pose now, `elapsedMs` after the last sample, over a screen of that size.
  kit::PhonePose Pose(double elapsedMs, int screenWidth, int screenHeight);

 private:
  void OpenPad(int joystickIndex);

  TiltKind kind_ = TiltKind::Keys;
  SDL_GameController* pad_ = nullptr;
  kit::Gestures gestures_;
  kit::KeyTilt keys_;
  int pointerX_ = -1;
  int pointerY_ = -1;
};

}  // namespace desktop
