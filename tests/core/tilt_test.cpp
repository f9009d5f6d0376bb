// The tick and the tilt physics: steering, speed, the off-road penalty, and what a tick
// does while the sensor is not open.
#include <cmath>
#include <string>

#include "core_test_support.h"

namespace {

HWND const MAIN_WINDOW = reinterpret_cast<HWND>(0x1000);

class Tilt : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
    game.ready = 1;
    OpenScriptedSensor();
  }

  void Tick(DWORD throttle, DWORD steer) {
    Sensor().throttleAngle = throttle;
    Sensor().steerAngle = steer;
    OnTick(MAIN_WINDOW);
  }
};

struct SteerCase {
  DWORD steerAngle;
  double lateralSpeed;
  std::int32_t carFrame;
};

class Steering : public Tilt, public ::testing::WithParamInterface<SteerCase> {};

TEST_P(Steering, LateralSpeedAndTruncatedFrame) {
  const SteerCase c = GetParam();
  Tick(45, c.steerAngle);
  EXPECT_EQ(game.lateralSpeed, c.lateralSpeed);
  EXPECT_EQ(game.carFrame, c.carFrame);
  EXPECT_EQ(game.carX, 216.0 + c.lateralSpeed);
}

INSTANTIATE_TEST_SUITE_P(Angles, Steering,
                         ::testing::Values(SteerCase{90, -9.999999999999972, 0},   // the factor is not exactly pi/180
                                           SteerCase{270, 9.999999999999744, 17},  // 18 is clamped: cell 18 never shows
                                           SteerCase{30, -4.999999782056336, 5},   // truncation, not rounding
                                           SteerCase{330, 5.0000023973801, 14},
                                           SteerCase{180, -1.5099579909783707e-06, 9},
                                           SteerCase{360 + 90, -9.9999999999992877, 0},
                                           // Any unsigned value is valid: no sign, no wrap to the range of int.
                                           SteerCase{4294967295U, -7.4975349895588161, 2},
                                           SteerCase{2147483648U, -4.1920672761010129, 5}));

TEST_F(Tilt, LevelSteeringIsNegativeZeroAndLeavesTheCarWhereItIs) {
  Tick(45, 0);
  EXPECT_EQ(game.lateralSpeed, 0.0);
  EXPECT_TRUE(std::signbit(game.lateralSpeed));
  EXPECT_EQ(game.carFrame, 9);
  EXPECT_EQ(game.carX, 216.0);
}

TEST_F(Tilt, FlatThrottleFromRestReachesTopSpeedInThreeTicks) {
  const double speeds[] = {7.0, 14.0, 17.3, 17.3, 17.3};
  const double shown[] = {0.07, 0.2093, 0.3802070000000001, 0.5494049300000001, 0.71691088070000009};
  for (int n = 0; n < 5; ++n) {
    Tick(0, 0);
    EXPECT_EQ(game.speed, speeds[n]) << "tick " << n;
    EXPECT_EQ(game.shownSpeed, shown[n]) << "tick " << n;
  }
}

TEST_F(Tilt, SteepThrottleBrakesToAStandstillNotBelow) {
  game.speed = 2.0;
  game.shownSpeed = 1.0;
  Tick(90, 0);
  EXPECT_EQ(game.speed, 0.0);
  EXPECT_EQ(game.shownSpeed, 0.99);  // smoothed toward 0, not toward -1
}

TEST_F(Tilt, ThrottleBalancesBetween44And45Degrees) {
  game.speed = 5.0;
  Tick(44, 0);
  EXPECT_EQ(game.speed, 5.0 - -0.053416560918957856);
  game.speed = 5.0;
  Tick(45, 0);
  EXPECT_EQ(game.speed, 5.0 - 0.07106754494008616);
}

TEST_F(Tilt, FullSteeringHoldsTheSpeedJustAbove12Point3) {
  for (int n = 0; n < 10; ++n) {
    Tick(0, 90);
  }
  EXPECT_GT(game.speed, 12.3);
  EXPECT_LT(game.speed, 12.30001);
}

TEST_F(Tilt, CarStaysOnTheScreen) {
  for (int n = 0; n < 30; ++n) {
    Tick(45, 90);
  }
  EXPECT_EQ(game.carX, 0.0);
  for (int n = 0; n < 60; ++n) {
    Tick(45, 270);
  }
  EXPECT_EQ(game.carX, 432.0);
}

TEST_F(Tilt, OffRoadPenaltyComesBeforeTheTiltOfTheSameTick) {
  game.offRoad = 1;
  game.speed = 10.0;
  game.shownSpeed = 4.0;
  Tick(0, 0);
  EXPECT_EQ(game.offRoad, 0);
  EXPECT_EQ(game.speed, 8.0);                            // 10 x 0.1 + 7
  EXPECT_EQ(game.shownSpeed, (8.0 - 2.0) * 0.01 + 2.0);  // 4 x 0.5, then smoothed
  Tick(0, 0);
  EXPECT_EQ(game.speed, 15.0);  // consumed: no second penalty
}

TEST_F(Tilt, EveryTickAsksForARepaintWithoutErase) {
  Tick(0, 0);
  game.ready = 0;
  OnTick(MAIN_WINDOW);
  sensorOpen = FALSE;
  game.ready = 1;
  OnTick(MAIN_WINDOW);
  ASSERT_EQ(InvalidateCalls().size(), 3U);
  for (const InvalidateCall& call : InvalidateCalls()) {
    EXPECT_EQ(call.window, MAIN_WINDOW);
    EXPECT_TRUE(call.wholeClient);
    EXPECT_EQ(call.erase, FALSE);
  }
}

TEST_F(Tilt, ReadsThroughTheBoundHandleOncePerTick) {
  Tick(0, 0);
  Tick(0, 0);
  EXPECT_EQ(Sensor().reads, 2);
  EXPECT_EQ(Sensor().lastHandle, sensorHandle);
}

// Before the first repaint, before the sensor is open, or after opening it failed
// with entry points missing: the tick reads nothing and moves nothing, but the
// penalty and the repaint request still happen.
struct IdleCase {
  const char* name;
  std::int32_t ready;
  BOOL open;
  bool bound;
};

class IdleTick : public Tilt, public ::testing::WithParamInterface<IdleCase> {};

TEST_P(IdleTick, SkipsTheTiltStepEntirely) {
  const IdleCase c = GetParam();
  game.ready = c.ready;
  sensorOpen = c.open;
  if (!c.bound) {
    HTCSensorGetDataOutput = nullptr;
  }
  game.offRoad = 1;
  game.speed = 10.0;
  game.shownSpeed = 4.0;
  game.lateralSpeed = -3.0;
  game.carX = 100.0;
  game.carFrame = 6;
  Tick(0, 90);
  EXPECT_EQ(Sensor().reads, 0);
  EXPECT_EQ(game.speed, 1.0);
  EXPECT_EQ(game.shownSpeed, 2.0);
  EXPECT_EQ(game.offRoad, 0);
  EXPECT_EQ(game.lateralSpeed, -3.0);
  EXPECT_EQ(game.carX, 100.0);
  EXPECT_EQ(game.carFrame, 6);
  EXPECT_EQ(InvalidateCalls().size(), 1U);
}

INSTANTIATE_TEST_SUITE_P(States, IdleTick,
                         ::testing::Values(IdleCase{"NotReady", 0, TRUE, true},
                                           IdleCase{"SensorNotOpen", 1, FALSE, true},
                                           IdleCase{"EntryPointMissing", 1, FALSE, false}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(Tilt, OnlyTheTwoAnglesOfTheRecordMatter) {
  HTCSensorGetDataOutput = [](HANDLE, TiltSample* sample) -> DWORD {
    std::fill(std::begin(sample->leading), std::end(sample->leading), BYTE{0xA5});
    std::fill(std::begin(sample->trailing), std::end(sample->trailing), BYTE{0x5A});
    sample->throttleAngle = 20;
    sample->steerAngle = 340;
    return 0;
  };
  OnTick(MAIN_WINDOW);
  const GameState noisy = game;
  SetUp();
  Tick(20, 340);
  EXPECT_EQ(noisy.lateralSpeed, game.lateralSpeed);
  EXPECT_EQ(noisy.carX, game.carX);
  EXPECT_EQ(noisy.speed, game.speed);
  EXPECT_EQ(noisy.shownSpeed, game.shownSpeed);
}

// Long drives of varied angles, unsigned values up to 4294967295 and occasional
// off-road frames, against the model tick for tick.
class TiltTrace : public Tilt, public ::testing::WithParamInterface<std::pair<std::int32_t, std::uint64_t>> {};

TEST_P(TiltTrace, MatchesTheModelBitForBit) {
  const auto [width, seed] = GetParam();
  game.clientWidth = width;
  ResetRace();
  const auto rows = ReadGolden("tilt_" + std::to_string(width) + ".txt");
  ASSERT_EQ(rows.size(), 1000U);
  TestSequence sequence(seed);
  for (const auto& row : rows) {
    const DWORD throttle = sequence.Angle();
    const DWORD steer = sequence.Angle();
    game.offRoad = sequence.Next() % 11 == 0 ? 1 : 0;
    Tick(throttle, steer);
    ASSERT_EQ(row[1], std::to_string(throttle)) << "input drifted at tick " << row[0];
    ASSERT_EQ(row[2], std::to_string(steer)) << "input drifted at tick " << row[0];
    const std::string got[] = {Exact(game.lateralSpeed), Exact(game.carX), std::to_string(game.carFrame),
                               Exact(game.speed), Exact(game.shownSpeed)};
    for (std::size_t field = 0; field < std::size(got); ++field) {
      ASSERT_EQ(got[field], row[field + 4]) << "tick " << row[0] << ", field " << field;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Drives, TiltTrace, ::testing::Values(std::pair{480, 1ULL}, std::pair{241, 2ULL}));

}  // namespace
