// The road pass: segments and their tops, the line and the markers, the phase moves at
// exactly 15 pixels, the off-road margins, the scroll rule and the wrap.
#include "core_test_support.h"

namespace {

class RoadPassTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    Canvas() = FakeCanvas{};
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
  }
  void Pass() { RoadPass(FakeDc(), FakeMarkerDc()); }
  // Tops of the cross strokes, in drawing order.
  static std::vector<LONG> CrossTops() {
    std::vector<LONG> tops;
    for (std::size_t n = 0; n < Canvas().lines.size(); n += 3) {
      tops.push_back(Canvas().lines[n].from.y);
    }
    return tops;
  }
};

TEST_F(RoadPassTest, ResetRoadDrawsThirteenSegmentsAndStopsBelow520) {
  Pass();
  ASSERT_EQ(Canvas().lines.size(), 13U * 3);
  std::vector<LONG> expected;
  for (LONG y = 10; y <= 490; y += 40) {
    expected.push_back(y);
  }
  EXPECT_EQ(CrossTops(), expected);
  EXPECT_TRUE(Canvas().blits.empty());
  // Segment 35: cross stroke, right edge, left edge, all 33 pixels in the road grey.
  const DrawnLine* l = Canvas().lines.data();
  const LONG x0 = game.roadTable[35];
  const LONG x1 = game.roadTable[36];
  EXPECT_EQ((std::vector<LONG>{l[0].from.x, l[0].from.y, l[0].to.x, l[0].to.y}),
            (std::vector<LONG>{x0, 10, x0 + 200, 10}));
  EXPECT_EQ((std::vector<LONG>{l[1].from.x, l[1].to.x, l[1].to.y}), (std::vector<LONG>{x0 + 200, x1 + 200, 50}));
  EXPECT_EQ((std::vector<LONG>{l[2].from.x, l[2].from.y, l[2].to.x, l[2].to.y}), (std::vector<LONG>{x0, 10, x1, 50}));
  for (const DrawnLine& line : Canvas().lines) {
    EXPECT_EQ(line.width, 33);
    EXPECT_EQ(line.colour, RGB(120, 120, 120));
  }
  EXPECT_EQ(Canvas().selectedPen, CanvasStockPen());
  EXPECT_EQ(Canvas().livePens, 0);
}

TEST_F(RoadPassTest, LineSegmentIsLighterAndCarriesTwoMarkers) {
  game.roadIndex = 23;
  game.roadTop = 0;
  Pass();
  // Segment 25 is the third drawn; everything else is road grey.
  for (std::size_t n = 0; n < Canvas().lines.size(); ++n) {
    EXPECT_EQ(Canvas().lines[n].colour, n / 3 == 2 ? RGB(200, 200, 200) : RGB(120, 120, 120)) << "line " << n;
  }
  // The markers of segment 25 come right after segment 24, at 25's top.
  ASSERT_EQ(Canvas().blits.size(), 4U);
  const DrawnBlit expected[] = {
      {game.roadTable[25] - 80, 80, 24, 24, 0, 24, FakeMarkerDc(), SRCAND},
      {game.roadTable[25] - 80, 80, 24, 24, 0, 0, FakeMarkerDc(), SRCPAINT},
      {game.roadTable[25] + 256, 80, 24, 24, 0, 24, FakeMarkerDc(), SRCAND},
      {game.roadTable[25] + 256, 80, 24, 24, 0, 0, FakeMarkerDc(), SRCPAINT},
  };
  for (std::size_t n = 0; n < 4; ++n) {
    EXPECT_TRUE(Canvas().blits[n] == expected[n]) << "blit " << n;
  }
  EXPECT_EQ(Canvas().livePens, 0);
  EXPECT_EQ(Canvas().selectedPen, CanvasStockPen());
}

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
  EXPECT_EQ(Canvas().lines[3].from.x, 22);  // cross stroke of 258
  EXPECT_EQ(Canvas().lines[5].to.x, 33);    // its left edge runs down to segment 0
  EXPECT_EQ(Canvas().lines[6].from.x, 33);
}

TEST_F(RoadPassTest, AlwaysDrawsAtLeastOneSegment) {
  game.roadTop = 100000;
  Pass();
  EXPECT_EQ(Canvas().lines.size(), 3U);
}

}  // namespace
