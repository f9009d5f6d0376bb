// The road pass's rules at their edges: the phase moves past exactly 15 pixels, the
// off-road margins are inclusive, the scroll rule and the wrap. Its pixels are in
// tests/road.
#include "core_test_support.h"

namespace {

class RoadPassTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    Lines().clear();
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
  }
  void Pass() { RoadPass(FakeDc(), FakeMarkerDc()); }
};

struct PhaseCase {
  std::int32_t lineTopFromCar;  // top of segment 25 minus carY
  RacePhase before;
  RacePhase after;
};

class LinePhase : public RoadPassTest, public ::testing::WithParamInterface<PhaseCase> {};

TEST_P(LinePhase, MovesOnlyPastFifteenPixels) {
  const PhaseCase c = GetParam();
  game.racePhase = c.before;
  game.roadIndex = 25;
  game.roadTop = game.carY + c.lineTopFromCar;
  Pass();
  EXPECT_EQ(game.racePhase, c.after);
}

INSTANTIATE_TEST_SUITE_P(Window, LinePhase,
                         ::testing::Values(PhaseCase{16, RacePhase::Waiting, RacePhase::Racing},
                                           PhaseCase{15, RacePhase::Waiting, RacePhase::Waiting},
                                           PhaseCase{-16, RacePhase::Racing, RacePhase::LineAhead},
                                           PhaseCase{-15, RacePhase::Racing, RacePhase::Racing},
                                           PhaseCase{-16, RacePhase::Waiting, RacePhase::Waiting},
                                           PhaseCase{16, RacePhase::Racing, RacePhase::Racing},
                                           PhaseCase{-16, RacePhase::LapStarted, RacePhase::LapStarted}));

struct OffRoadCase {
  double carXFromEdge;  // carX minus the left edge of segment 42
  std::int32_t offRoad;
};

class OffRoad : public RoadPassTest, public ::testing::WithParamInterface<OffRoadCase> {};

TEST_P(OffRoad, MarginsAreInclusive) {
  game.carX = game.roadTable[42] + GetParam().carXFromEdge;  // segment 42 has top 290
  Pass();
  EXPECT_EQ(game.offRoad, GetParam().offRoad);
}

INSTANTIATE_TEST_SUITE_P(Margins, OffRoad,
                         ::testing::Values(OffRoadCase{-24.0, 0}, OffRoadCase{176.0, 0}, OffRoadCase{-24.25, 1},
                                           OffRoadCase{176.25, 1}, OffRoadCase{76.0, 0}));

TEST_F(RoadPassTest, OnlyTheSegmentAtTheCarRowIsTested) {
  game.carX = 0.0;  // off every segment but the one tested is what counts
  game.roadTable[42] = 0;
  Pass();
  EXPECT_EQ(game.offRoad, 0);
}

struct ScrollCase {
  std::int32_t startIndex, startTop;
  double shownSpeed;
  std::int32_t roadIndex, roadTop;
};

class Scroll : public RoadPassTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(Scroll, Rule) {
  const ScrollCase c = GetParam();
  game.roadIndex = c.startIndex;
  game.roadTop = c.startTop;
  game.shownSpeed = c.shownSpeed;
  Pass();
  EXPECT_EQ(game.roadIndex, c.roadIndex);
  EXPECT_EQ(game.roadTop, c.roadTop);
}

INSTANTIATE_TEST_SUITE_P(Cases, Scroll,
                         ::testing::Values(ScrollCase{35, 10, 0.0, 34, -30},   // even at rest, once
                                           ScrollCase{34, -30, 0.0, 34, -30},  // then it stays
                                           ScrollCase{35, -30, 5.9, 35, -25}, ScrollCase{35, -5, 5.0, 34, -35},
                                           ScrollCase{0, -5, 5.0, 258, -35},  // scrolling back from 0
                                           ScrollCase{100, -30, 17.29, 99, -36}));

TEST_F(RoadPassTest, LastSegmentIsFollowedBySegmentZero) {
  game.roadIndex = 257;
  game.roadTop = 0;
  game.roadTable[257] = 11;
  game.roadTable[258] = 22;
  game.roadTable[0] = 33;
  Pass();
  EXPECT_EQ(Lines()[3].from.x, 22);  // cross stroke of 258
  EXPECT_EQ(Lines()[5].to.x, 33);    // its left edge runs down to segment 0
  EXPECT_EQ(Lines()[6].from.x, 33);
}

TEST_F(RoadPassTest, AlwaysDrawsAtLeastOneSegment) {
  game.roadTop = 100000;
  Pass();
  EXPECT_EQ(Lines().size(), 3U);
}

}  // namespace
