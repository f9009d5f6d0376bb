// Gestures to sensor angles: each source levels at rest, reaches its limits, and steers
// the way the game reads the angles (left just above 0, right just below 360).
#include <gtest/gtest.h>

#include "tilt_models.h"

namespace {

using kit::AnglesOf;
using kit::SensorAngles;

// A program that holds its pace at 44 degrees.
const kit::Gestures kGestures(44.0);

TEST(TiltModels, KeysTipSteadilyAndGlideBackToLevel) {
  kit::KeyTilt keys(kGestures);
  EXPECT_EQ(AnglesOf(keys.Pose()), (SensorAngles{44, 0}));
  keys.Advance(100, {.left = true});
  EXPECT_EQ(AnglesOf(keys.Pose()).steer, 14U);
  keys.Advance(1000, {.left = true, .up = true});
  EXPECT_EQ(AnglesOf(keys.Pose()), (SensorAngles{0, 35}));
  keys.Advance(1000, {.right = true, .down = true});
  EXPECT_EQ(AnglesOf(keys.Pose()), (SensorAngles{88, 325}));
  keys.Advance(2000, {});
  EXPECT_EQ(AnglesOf(keys.Pose()), (SensorAngles{44, 0}));
  // Left and right together cancel.
  keys.Advance(500, {.left = true, .right = true});
  EXPECT_EQ(AnglesOf(keys.Pose()).steer, 0U);
}

TEST(TiltModels, PointerStickAndGravityMapOntoThePhone) {
  EXPECT_EQ(AnglesOf(kGestures.Pointer(240, 320, 480, 640)), (SensorAngles{44, 0}));
  EXPECT_EQ(AnglesOf(kGestures.Pointer(0, 0, 480, 640)), (SensorAngles{0, 35}));
  EXPECT_EQ(AnglesOf(kGestures.Pointer(9999, 9999, 480, 640)), (SensorAngles{88, 325}));
  EXPECT_EQ(AnglesOf(kGestures.Pointer(10, 10, 0, 0)), (SensorAngles{44, 0}));

  EXPECT_EQ(AnglesOf(kGestures.Stick(3000, -3000)), (SensorAngles{44, 0}));  // dead zone
  EXPECT_EQ(AnglesOf(kGestures.Stick(-32768, -32768)), (SensorAngles{0, 35}));
  EXPECT_EQ(AnglesOf(kGestures.Stick(32767, 32767)), (SensorAngles{88, 325}));

  // Upright is flat out; laid back at 45 degrees holds the speed; turned left steers left.
  EXPECT_EQ(AnglesOf(kGestures.Gravity(0, 9.81, 0)), (SensorAngles{0, 0}));
  EXPECT_EQ(AnglesOf(kGestures.Gravity(0, 6.94, 6.94)).throttle, 45U);
  EXPECT_EQ(AnglesOf(kGestures.Gravity(3.0, 9.0, 6.0)).steer, 18U);
  EXPECT_EQ(AnglesOf(kGestures.Gravity(-3.0, 9.0, 6.0)).steer, 342U);
  EXPECT_EQ(AnglesOf(kGestures.Gravity(0, 0, 0)), (SensorAngles{44, 0}));

  // A browser's orientation: upright, then tipped back 46 degrees and turned 20 left,
  // upright again turned a quarter left with the screen turned to match, and a grip
  // taken as level.
  EXPECT_EQ(AnglesOf(kGestures.Orientation(90, 0, 0)), (SensorAngles{0, 0}));
  EXPECT_EQ(AnglesOf(kGestures.Orientation(46, -20, 0)), (SensorAngles{42, 18}));
  EXPECT_EQ(AnglesOf(kGestures.Orientation(0, -90, 90)), (SensorAngles{0, 0}));
  const kit::PhonePose grip = kGestures.Orientation(70, 5, 0);
  EXPECT_EQ(AnglesOf(kGestures.Levelled(grip, grip)), (SensorAngles{44, 0}));
  EXPECT_EQ(AnglesOf(kGestures.Levelled(kGestures.Orientation(60, 5, 0), grip)).throttle, 54U);
}

}  // namespace
