// The race reset: where the car, the road and the clock stand at the start.
#include <cmath>

#include "core_test_support.h"

namespace {

struct ResetCase {
  std::int32_t width;
  std::int32_t height;
  double carX;
  std::int32_t carY;
};

class RaceReset : public CoreTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(RaceReset, HalvesTruncateBeforeTheConversion) {
  const ResetCase c = GetParam();
  game.clientWidth = c.width;
  game.clientHeight = c.height;
  ResetRace();
  EXPECT_EQ(game.carX, c.carX);
  EXPECT_EQ(game.carY, c.carY);
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, RaceReset,
                         ::testing::Values(ResetCase{480, 536, 216.0, 244}, ResetCase{241, 268, 96.0, 110},
                                           ResetCase{240, 268, 96.0, 110}, ResetCase{481, 537, 216.0, 244},
                                           ResetCase{480, 800, 216.0, 376},
                                           // Toward zero, not toward minus infinity.
                                           ResetCase{-1, -1, -24.0, -24}, ResetCase{-3, -3, -25.0, -25}));

TEST_F(CoreTest, ResetStartsAWaitingRaceTenSegmentsBelowTheLine) {
  game.clientWidth = 480;
  game.clientHeight = 536;
  game.racePhase = RacePhase::LapStarted;
  game.speed = 12.5;
  game.shownSpeed = 3.25;
  game.carFrame = 2;
  game.roadIndex = 200;
  game.roadTop = -17;
  game.ticks = 300.0;
  game.offRoad = 1;
  ResetRace();
  EXPECT_EQ(game.racePhase, RacePhase::Waiting);
  EXPECT_EQ(game.speed, 0.0);
  EXPECT_EQ(game.shownSpeed, 0.0);
  EXPECT_EQ(game.carFrame, 9);
  EXPECT_EQ(game.roadIndex, 35);
  EXPECT_EQ(game.roadTop, 10);
  EXPECT_EQ(game.ticks, 0.0);
  EXPECT_EQ(game.offRoad, 0);
  EXPECT_EQ(game.roadTable[0], 140);  // the road was built from the width
  EXPECT_EQ(game.roadTable[74], 30);
}

TEST_F(CoreTest, ResetLeavesSteeringAndTimesAlone) {
  game.clientWidth = 480;
  game.clientHeight = 536;
  game.lateralSpeed = -4.5;
  game.lapTime = 12.25;
  game.bestTime = 57.3;
  game.ready = 1;
  ResetRace();
  EXPECT_EQ(game.lateralSpeed, -4.5);
  EXPECT_EQ(game.lapTime, 12.25);
  EXPECT_EQ(game.bestTime, 57.3);
  EXPECT_EQ(game.ready, 1);
  EXPECT_EQ(game.clientWidth, 480);
  EXPECT_EQ(game.clientHeight, 536);
}

}  // namespace
