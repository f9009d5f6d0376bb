#include "tilt_models.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit {

namespace {

constexpr double kTurnPerSecond = 140.0;  // degrees a held key tips the phone
constexpr double kGlideMs = 120.0;        // time constant of the glide back to level
constexpr int kStickDeadZone = 6000;

double Approach(double value, double target, double step) {
  return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

double Glide(double value, double level, double milliseconds) {
  const double left = (value - level) * std::exp(-milliseconds / kGlideMs);
  return std::fabs(left) < 0.01 ? level : level + left;
}

double Unit(double value) { return std::clamp(value, -1.0, 1.0); }

}  // namespace

Gestures::Gestures(double levelPitch)
    : level_(std::clamp(levelPitch, 0.0, 90.0)), range_(std::min(level_, 90.0 - level_)) {}

PhonePose Gestures::FromUnits(double steer, double throttle) const {
  // steer: -1 full left .. 1 full right; throttle: -1 flat out .. 1 braking.
  return {level_ + Unit(throttle) * range_, -Unit(steer) * kMaxRoll};
}

SensorAngles AnglesOf(const PhonePose& pose) {
  const auto pitch = static_cast<std::int64_t>(std::lround(std::clamp(pose.pitch, 0.0, 90.0)));
  auto roll = static_cast<std::int64_t>(std::lround(std::clamp(pose.roll, -90.0, 90.0)));
  if (roll < 0) {
    roll += 360;
  }
  return {static_cast<std::uint32_t>(pitch), static_cast<std::uint32_t>(roll)};
}

void KeyTilt::Advance(double milliseconds, const Keys& keys) {
  const double step = kTurnPerSecond * milliseconds / 1000.0;
  const int steer = (keys.left ? 1 : 0) - (keys.right ? 1 : 0);
  const int throttle = (keys.down ? 1 : 0) - (keys.up ? 1 : 0);
  pose_.roll = steer != 0 ? Approach(pose_.roll, steer * kMaxRoll, step) : Glide(pose_.roll, 0.0, milliseconds);
  const double level = gestures_.Level().pitch;
  pose_.pitch = throttle != 0 ? Approach(pose_.pitch, level + throttle * gestures_.PitchRange(), step)
                              : Glide(pose_.pitch, level, milliseconds);
}

PhonePose Gestures::Pointer(double x, double y, double width, double height) const {
  if (width <= 0 || height <= 0) {
    return Level();
  }
  return FromUnits((x - width / 2) / (width / 2), (y - height / 2) / (height / 2));
}

PhonePose Gestures::Stick(int xAxis, int yAxis) const {
  const auto axis = [](int value) {
    if (std::abs(value) < kStickDeadZone) {
      return 0.0;
    }
    const double sign = value < 0 ? -1.0 : 1.0;
    return sign * (std::abs(value) - kStickDeadZone) / (32767.0 - kStickDeadZone);
  };
  return FromUnits(axis(xAxis), axis(yAxis));
}

PhonePose Gestures::Gravity(double x, double y, double z) const {
  if (std::hypot(x, y, z) < 1.0) {
    return Level();  // falling, or no reading yet
  }
  constexpr double kDegrees = 180.0 / std::numbers::pi;
  // Turned to the left, the pad's right side rises: "up" gains a +x part.
  const double roll = std::atan2(x, y) * kDegrees;
  // Laid back, its face turns up: "up" moves from y towards z. Upright is flat out.
  const double pitch = std::atan2(z, y) * kDegrees;
  return {std::clamp(pitch, 0.0, 90.0), std::clamp(roll, -kMaxRoll, kMaxRoll)};
}

PhonePose Gestures::Orientation(double beta, double gamma, double screenAngle) const {
  constexpr double kRadians = std::numbers::pi / 180.0;
  constexpr double kGravity = 9.81;
  const double b = beta * kRadians;
  const double g = gamma * kRadians;
  // "Up" in the phone's own axes, for the rotation beta about x, then gamma about y.
  const double x = -std::sin(g) * std::cos(b);
  const double y = std::sin(b);
  const double z = std::cos(g) * std::cos(b);
  // The same vector in the axes of the screen as the user sees it.
  const double a = screenAngle * kRadians;
  const double screenX = x * std::cos(a) - y * std::sin(a);
  const double screenY = x * std::sin(a) + y * std::cos(a);
  return Gravity(kGravity * screenX, kGravity * screenY, kGravity * z);
}

PhonePose Gestures::Levelled(const PhonePose& pose, const PhonePose& level) const {
  return {std::clamp(level_ + pose.pitch - level.pitch, 0.0, 90.0),
          std::clamp(pose.roll - level.roll, -kMaxRoll, kMaxRoll)};
}

}  // namespace kit
