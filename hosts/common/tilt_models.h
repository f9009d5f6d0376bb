// Turning a desktop player's gestures into the two angles a phone's sensor reports:
// the throttle angle (how far the phone is tipped towards the player, 0..90 degrees,
// read from the level the program chooses) and the steering angle (turned left is a few
// degrees above 0, right a few below 360).
#pragma once

#include <cstdint>

namespace kit {

// Signed degrees: roll positive when the phone is turned to the left.
struct PhonePose {
  double pitch = 0.0;
  double roll = 0.0;
};

inline constexpr double kMaxRoll = 35.0;  // a firm turn of the wrists

struct SensorAngles {
  std::uint32_t throttle = 0;
  std::uint32_t steer = 0;
  bool operator==(const SensorAngles&) const = default;
};

// Whole degrees, as the sensor reports them; negative rolls wrap below 360.
SensorAngles AnglesOf(const PhonePose& pose);

// How gestures tip a phone held level at `levelPitch`, the pitch a program takes for
// "as you were"; a gesture tips it as far one way from there as the other.
class Gestures {
 public:
  explicit Gestures(double levelPitch);

  PhonePose Level() const { return {level_, 0.0}; }
  // From level, as far as a full gesture tips it either way.
  double PitchRange() const { return range_; }

  // The pointer over the screen: left and right steer, up and down set the throttle,
  // the centre is level. Coordinates outside the screen count as its edge.
  PhonePose Pointer(double x, double y, double width, double height) const;
  // A gamepad's left stick, axes -32768..32767, with a small dead zone around the centre.
  PhonePose Stick(int xAxis, int yAxis) const;
  // A gamepad's accelerometer (m/s², x right, y up, z towards the player, as game
  // controllers report it), held upright like the phone.
  PhonePose Gravity(double x, double y, double z) const;
  // A phone's orientation as a browser reports it (degrees: beta tips its top edge away
  // from the user, gamma turns its right edge down), with the screen turned
  // `screenAngle` degrees counter-clockwise from the phone's natural way up: the gravity
  // that reading implies, through the accelerometer's model.
  PhonePose Orientation(double beta, double gamma, double screenAngle) const;
  // `pose` as seen from `level`, the way the player held the phone when the game took
  // it as level: that way gives the level pose.
  PhonePose Levelled(const PhonePose& pose, const PhonePose& level) const;

 private:
  PhonePose FromUnits(double steer, double throttle) const;
  double level_;
  double range_;
};

// Arrow keys: held keys tip the phone at a steady rate, released ones let it glide back
// to level.
class KeyTilt {
 public:
  struct Keys {
    bool left = false;
    bool right = false;
    bool up = false;    // faster
    bool down = false;  // slower
  };
  explicit KeyTilt(const Gestures& gestures) : gestures_(gestures), pose_(gestures.Level()) {}
  // Moves the pose on by `milliseconds` with `keys` held throughout.
  void Advance(double milliseconds, const Keys& keys);
  const PhonePose& Pose() const { return pose_; }

 private:
  Gestures gestures_;
  PhonePose pose_;
};

}  // namespace kit
