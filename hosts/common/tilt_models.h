// Turning a desktop player's gestures into the two angles a phone's sensor reports:
// the throttle angle (how far the phone is tipped towards the player, 0..90 degrees;
// the game holds its speed near 44, speeds up below and slows down above) and the
// steering angle (turned left is a few degrees above 0, right a few below 360).
#pragma once

#include <cstdint>

namespace kit {

// Signed degrees: roll positive when the phone is turned to the left.
struct PhonePose {
  double pitch = 44.0;
  double roll = 0.0;
};

inline constexpr double kLevelPitch = 44.0;  // the speed neither grows nor falls
inline constexpr double kMaxRoll = 35.0;     // a firm turn of the wrists
inline constexpr double kPitchRange = 44.0;  // from level to flat out or to braking

struct SensorAngles {
  std::uint32_t throttle = 44;
  std::uint32_t steer = 0;
  bool operator==(const SensorAngles&) const = default;
};

// Whole degrees, as the sensor reports them; negative rolls wrap below 360.
SensorAngles AnglesOf(const PhonePose& pose);

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
  // Moves the pose on by `milliseconds` with `keys` held throughout.
  void Advance(double milliseconds, const Keys& keys);
  const PhonePose& Pose() const { return pose_; }

 private:
  PhonePose pose_;
};

// The pointer over the screen: left and right steer, up and down set the throttle, the
// centre is level. Coordinates outside the screen count as its edge.
PhonePose PoseFromPointer(double x, double y, double width, double height);

// A gamepad's left stick, axes -32768..32767, with a small dead zone around the centre.
PhonePose PoseFromStick(int xAxis, int yAxis);

// A gamepad's accelerometer (m/s², x right, y up, z towards the player, as game
// controllers report it), held upright like the phone.
PhonePose PoseFromGravity(double x, double y, double z);

// A phone's orientation as a browser reports it (degrees: beta tips its top edge away
// from the user, gamma turns its right edge down), with the screen turned `screenAngle`
// degrees counter-clockwise from the phone's natural way up: the gravity that reading
// implies, through the accelerometer's model.
PhonePose PoseFromOrientation(double beta, double gamma, double screenAngle);

// `pose` as seen from `level`, the way the player held the phone when the game took it
// as level: that way gives the level pose.
PhonePose Levelled(const PhonePose& pose, const PhonePose& level);

}  // namespace kit
