#include "tilt_source.h"

namespace desktop {

namespace {

bool HasAccelerometer(SDL_GameController* pad) {
  return pad != nullptr && SDL_GameControllerHasSensor(pad, SDL_SENSOR_ACCEL) == SDL_TRUE;
}

}  // namespace

TiltSource::TiltSource(std::optional<TiltKind> kind, const kit::Gestures& gestures)
    : gestures_(gestures), keys_(gestures) {
  for (int i = 0; i < SDL_NumJoysticks() && pad_ == nullptr; ++i) {
    OpenPad(i);
  }
  if (kind) {
    kind_ = *kind;
  } else if (HasAccelerometer(pad_)) {
    kind_ = TiltKind::Motion;
  } else if (pad_ != nullptr) {
    kind_ = TiltKind::Stick;
  }
}

TiltSource::~TiltSource() {
  if (pad_ != nullptr) {
    SDL_GameControllerClose(pad_);
  }
}

const char* TiltSource::Name() const {
  switch (kind_) {
    case TiltKind::Keys:
      return "keys";
    case TiltKind::Mouse:
      return "mouse";
    case TiltKind::Stick:
      return "stick";
    case TiltKind::Motion:
      return "motion";
  }
  return "keys";
}

void TiltSource::OpenPad(int joystickIndex) {
  if (pad_ != nullptr || SDL_IsGameController(joystickIndex) != SDL_TRUE) {
    return;
  }
  pad_ = SDL_GameControllerOpen(joystickIndex);
  if (HasAccelerometer(pad_)) {
    SDL_GameControllerSetSensorEnabled(pad_, SDL_SENSOR_ACCEL, SDL_TRUE);
  }
}

void TiltSource::DeviceAdded(int joystickIndex) { OpenPad(joystickIndex); }

void TiltSource::DeviceRemoved(SDL_JoystickID id) {
  if (pad_ != nullptr && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_)) == id) {
    SDL_GameControllerClose(pad_);
    pad_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks() && pad_ == nullptr; ++i) {
      OpenPad(i);
    }
  }
}

kit::PhonePose TiltSource::Pose(double elapsedMs, int screenWidth, int screenHeight) {
  switch (kind_) {
    case TiltKind::Keys: {
      const Uint8* held = SDL_GetKeyboardState(nullptr);
      keys_.Advance(elapsedMs, {.left = held[SDL_SCANCODE_LEFT] != 0,
                                .right = held[SDL_SCANCODE_RIGHT] != 0,
                                .up = held[SDL_SCANCODE_UP] != 0,
                                .down = held[SDL_SCANCODE_DOWN] != 0});
      return keys_.Pose();
    }
    case TiltKind::Mouse:
      if (pointerX_ < 0) {
        return gestures_.Level();  // until the pointer first comes over the screen
      }
      return gestures_.Pointer(pointerX_, pointerY_, screenWidth, screenHeight);
    case TiltKind::Stick:
      if (pad_ == nullptr) {
        return gestures_.Level();
      }
      return gestures_.Stick(SDL_GameControllerGetAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX),
                             SDL_GameControllerGetAxis(pad_, SDL_CONTROLLER_AXIS_LEFTY));
    case TiltKind::Motion: {
      float gravity[3] = {0.0F, 0.0F, 0.0F};
      if (!HasAccelerometer(pad_) || SDL_GameControllerGetSensorData(pad_, SDL_SENSOR_ACCEL, gravity, 3) != 0) {
        return gestures_.Level();
      }
      return gestures_.Gravity(gravity[0], gravity[1], gravity[2]);
    }
  }
  return gestures_.Level();
}

}  // namespace desktop
