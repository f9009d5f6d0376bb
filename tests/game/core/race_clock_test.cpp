// The lap clock against the model, and the shortest lap, an edge a random drive seldom
// lands on exactly.
#include <string>
#include <tuple>
#include <vector>

#include "core_test_support.h"

namespace {

class Clock : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    game.bestTime = 99.0;
  }
};

TEST_F(Clock, ALapCloseNeedsMoreThanTenSeconds) {
  game.racePhase = RacePhase::LineAhead;
  game.ticks = 199.0;
  game.lapTime = 10.0;  // exactly the shortest lap: not above it
  ClockStep();
  EXPECT_EQ(std::tuple(game.racePhase, game.ticks, game.lapTime), std::tuple(RacePhase::LineAhead, 200.0, 10.0));
  ClockStep();  // the previous frame still showed 10.0
  EXPECT_EQ(game.racePhase, RacePhase::LineAhead);
  ClockStep();
  EXPECT_EQ(std::tuple(game.racePhase, game.bestTime, game.ticks),
            std::tuple(RacePhase::LapStarted, 201.0 * 0.05, 1.0));
}

// Several laps under a scripted road: one sighting below the car starts the race, later
// sightings above it close laps (or are ignored during the lock-out), with a long slow
// lap held at the limit and the lock-out ending on its frame; against the model frame for frame.
TEST_F(Clock, LapCycleMatchesTheModel) {
  static constexpr double LATERAL[] = {0.0, -9.999999999999972, 4.999999782056336, 0.5, -2.75};
  const auto rows = ReadGolden("clock.txt");
  ASSERT_EQ(rows.size(), 5000U);
  TestSequence sequence(7);
  int laps = 0;
  for (const auto& row : rows) {
    const int frame = std::stoi(row[0]);
    game.lateralSpeed = LATERAL[sequence.Next() % std::size(LATERAL)];
    const std::uint32_t sighting = (frame >= 1500 && frame < 3700) ? 299 : sequence.Next() % 300;
    if (sighting == 0 && game.racePhase == RacePhase::Waiting) {
      game.racePhase = RacePhase::Racing;
    }
    if (sighting < 3 && game.racePhase == RacePhase::Racing) {
      game.racePhase = RacePhase::LineAhead;
    }
    const RacePhase before = game.racePhase;
    ClockStep();
    laps += before == RacePhase::LineAhead && game.racePhase == RacePhase::LapStarted ? 1 : 0;
    ASSERT_EQ(row, (std::vector<std::string>{row[0], std::to_string(static_cast<int>(game.racePhase)),
                                             Exact(game.ticks), Exact(game.lapTime), Exact(game.bestTime)}));
  }
  EXPECT_GE(laps, 5);
}

}  // namespace
