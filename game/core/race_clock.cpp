// The lap clock. It counts frames, not wall time: each frame outside Waiting adds one
// tick plus a steering penalty, so steering hard makes the shown time run faster.
#include <cmath>

#include "core/game_state.h"

namespace {
constexpr double SECONDS_PER_TICK = 0.05;
constexpr double TICKS_PER_FRAME = 1.0;
constexpr double STEERING_PENALTY = 0.25;
constexpr double SHORTEST_LAP = 10.0;
constexpr double LINE_LOCK_OUT = 14.0;
constexpr double CLOCK_LIMIT = 99.0;
}  // namespace

void ClockStep() {
  RacePhase phase = game.racePhase;
  // lapTime is still the previous frame's here.
  if (phase == RacePhase::LineAhead && game.lapTime > SHORTEST_LAP) {
    if (game.lapTime < game.bestTime) {
      game.bestTime = game.lapTime;
    }
    game.ticks = 0.0;
    game.racePhase = RacePhase::LapStarted;
    phase = RacePhase::LapStarted;
  }
  if (phase != RacePhase::Waiting) {
    game.ticks = std::fabs(game.lateralSpeed) * STEERING_PENALTY + game.ticks + TICKS_PER_FRAME;
  }
  game.lapTime = game.ticks * SECONDS_PER_TICK;
  if (phase == RacePhase::LapStarted && game.lapTime > LINE_LOCK_OUT) {
    game.racePhase = RacePhase::Racing;
  }
  if (game.lapTime > CLOCK_LIMIT) {
    game.lapTime = CLOCK_LIMIT;
  }
}
