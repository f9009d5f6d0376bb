// The road pass's rules at their edges: the phase moves past exactly 15 pixels, the
// off-road margins are inclusive, the scroll rule and the wrap. Its pixels are in
// road_pixels_test.cpp.
#include "core_test_support.h"

namespace {

class RoadPassTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    drawnLines.clear();
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
  }
  void Pass() { RoadPass(reinterpret_cast<HDC>(0xdc), reinterpret_cast<HDC>(0x131)); }
};

TEST_F(RoadPassTest, ThePhaseMovesOnlyPastFifteenPixelsAndTheMarginsAreInclusive) {
  // The top of segment 25 less carY, the phase before and after.
  const std::tuple<std::int32_t, RacePhase, RacePhase> phases[] = {
      {16, RacePhase::Waiting, RacePhase::Racing},        {15, RacePhase::Waiting, RacePhase::Waiting},
      {-16, RacePhase::Racing, RacePhase::LineAhead},     {-15, RacePhase::Racing, RacePhase::Racing},
      {-16, RacePhase::Waiting, RacePhase::Waiting},      {16, RacePhase::Racing, RacePhase::Racing},
      {-16, RacePhase::LapStarted, RacePhase::LapStarted}};
  for (const auto& [lineTopFromCar, before, after] : phases) {
    SetUp();
    game.racePhase = before;
    game.roadIndex = 25;
    game.roadTop = game.carY + lineTopFromCar;
    Pass();
    EXPECT_EQ(game.racePhase, after) << lineTopFromCar << " from phase " << static_cast<int>(before);
  }
  // carX minus the left edge of segment 42, the one at the car's row (top 290), moved off
  // every other segment: only that one counts.
  for (const auto& [fromEdge, offRoad] : {std::pair{-24.0, 0}, {176.0, 0}, {-24.25, 1}, {176.25, 1}, {76.0, 0}}) {
    SetUp();
    game.roadTable[42] = 0;
    game.carX = fromEdge;
    Pass();
    EXPECT_EQ(game.offRoad, offRoad) << fromEdge;
  }
}

TEST_F(RoadPassTest, ScrollRule) {
  // Where the road starts, the speed shown, where it ends.
  const std::tuple<std::int32_t, std::int32_t, double, std::int32_t, std::int32_t> cases[] = {
      {35, 10, 0.0, 34, -30},   // even at rest, once
      {34, -30, 0.0, 34, -30},  // then it stays
      {35, -30, 5.9, 35, -25},
      {35, -5, 5.0, 34, -35},
      // Scrolling back from 0.
      {0, -5, 5.0, 258, -35},
      {100, -30, 17.29, 99, -36},
  };
  for (const auto& [startIndex, startTop, shownSpeed, roadIndex, roadTop] : cases) {
    SetUp();
    game.roadIndex = startIndex;
    game.roadTop = startTop;
    game.shownSpeed = shownSpeed;
    Pass();
    EXPECT_EQ(std::pair(game.roadIndex, game.roadTop), std::pair(roadIndex, roadTop))
        << startIndex << " " << startTop << " at " << shownSpeed;
  }
}

TEST_F(RoadPassTest, LastSegmentIsFollowedBySegmentZero) {
  game.roadIndex = 257;
  game.roadTop = 0;
  game.roadTable[257] = 11;
  game.roadTable[258] = 22;
  game.roadTable[0] = 33;
  Pass();
  // The cross stroke of 258, then its left edge running down to segment 0.
  EXPECT_EQ((std::vector{drawnLines[3].from.x, drawnLines[5].to.x, drawnLines[6].from.x}), (std::vector{22, 33, 33}));
}

TEST_F(RoadPassTest, AlwaysDrawsAtLeastOneSegment) {
  game.roadTop = 100000;
  Pass();
  EXPECT_EQ(drawnLines.size(), 3U);
}

}  // namespace
