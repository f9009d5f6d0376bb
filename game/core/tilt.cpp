// Tilt physics: the sensor's angles turn into the car's sideways move, its frame and its speed.
#include <handset_math.h>

#include "core/game_state.h"
#include "sensor/tilt_sensor.h"

namespace {
// Single-precision pi over 180, as the device computed it; not full-precision pi/180.
constexpr double DEGREES_TO_RADIANS = 0.017453291681077746;
constexpr double STEERING_GAIN = -10.0;
constexpr std::int32_t STRAIGHT_FRAME = 9;
constexpr std::int32_t LAST_FRAME = 17;
constexpr std::int32_t CAR_WIDTH = 48;
constexpr double THROTTLE_GAIN = 10.0;
constexpr double THROTTLE_OFFSET = 7.0;
constexpr double TOP_SPEED = 17.3;
constexpr double STEERING_DRAG = 0.5;
constexpr double SMOOTHING = 0.01;
}  // namespace

void TiltStep() {
  if (!sensorOpen) {
    return;
  }
  HTCSensorGetDataOutput(sensorHandle, &tiltSample);
  const double steer = static_cast<double>(tiltSample.steerAngle);
  const double throttle = static_cast<double>(tiltSample.throttleAngle);

  game.lateralSpeed = sin(steer * DEGREES_TO_RADIANS) * STEERING_GAIN;
  game.carX = game.carX + game.lateralSpeed;
  game.carFrame = static_cast<std::int32_t>(game.lateralSpeed) + STRAIGHT_FRAME;
  if (game.carFrame > LAST_FRAME) {
    game.carFrame = LAST_FRAME;
  }
  if (game.carFrame < 0) {
    game.carFrame = 0;
  }
  if (game.carX < 0.0) {
    game.carX = 0.0;
  }
  if (game.carX > static_cast<double>(game.clientWidth - CAR_WIDTH)) {
    game.carX = static_cast<double>(game.clientWidth - CAR_WIDTH);
  }

  const double accel = sin(throttle * DEGREES_TO_RADIANS) * THROTTLE_GAIN - THROTTLE_OFFSET;
  double s = game.speed - accel;
  if (s > TOP_SPEED) {
    s = TOP_SPEED;
  }
  s = s - fabs(game.lateralSpeed) * STEERING_DRAG;
  game.speed = s;
  if (s < 0.0) {
    s = 0.0;
    game.speed = 0.0;
  }
  game.shownSpeed = (s - game.shownSpeed) * SMOOTHING + game.shownSpeed;
}
