// The race reset: where the car, the road and the clock stand at the start.
#include <vector>

#include "core_test_support.h"

namespace {

TEST_F(CoreTest, ResetHalvesTruncateBeforeTheConversion) {
  // The client's size and where the car starts.
  const std::tuple<std::int32_t, std::int32_t, double, std::int32_t> cases[] = {
      {480, 536, 216.0, 244},
      {241, 268, 96.0, 110},
      {481, 537, 216.0, 244},
      {480, 800, 216.0, 376},
      // Toward zero, not toward minus infinity.
      {-1, -1, -24.0, -24},
      {-3, -3, -25.0, -25}};
  for (const auto& [width, height, carX, carY] : cases) {
    game.clientWidth = width;
    game.clientHeight = height;
    ResetRace();
    EXPECT_EQ(std::pair(game.carX, game.carY), std::pair(carX, carY)) << width << "x" << height;
  }
}

// A reset starts a waiting race ten segments below the line; the steering, the times,
// the client size and the first-paint flag stay as they were.
TEST_F(CoreTest, ResetStartsAWaitingRaceAndKeepsTheTimes) {
  game.racePhase = RacePhase::LapStarted;
  game.clientWidth = 480;
  game.clientHeight = 536;
  game.speed = game.shownSpeed = game.ticks = 12.5;
  game.carFrame = 2;
  game.roadIndex = 200;
  game.roadTop = -17;
  game.offRoad = game.ready = 1;
  game.lateralSpeed = -4.5;
  game.lapTime = 12.25;
  game.bestTime = 57.3;
  ResetRace();
  EXPECT_EQ(game.racePhase, RacePhase::Waiting);
  EXPECT_EQ(std::vector<double>({game.speed, game.shownSpeed, game.ticks, double(game.offRoad)}),
            std::vector<double>(4, 0.0));
  EXPECT_EQ(std::vector<int>({game.carFrame, game.roadIndex, game.roadTop, game.roadTable[74]}),
            std::vector<int>({9, 35, 10, 30}));
  EXPECT_EQ(std::vector<double>({game.lateralSpeed, game.lapTime, game.bestTime, double(game.ready)}),
            std::vector<double>({-4.5, 12.25, 57.3, 1.0}));
}

}  // namespace
