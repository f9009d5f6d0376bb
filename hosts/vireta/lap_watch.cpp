#include "lap_watch.h"

#include "core/game_state.h"

kit::LapWatch WatchViretaLaps() {
  // A lap closes within a frame that finds the line ahead: the clock starts again in
  // LapStarted, and the time it had before that frame is the lap's.
  return [phase = RacePhase::Waiting, lapTime = 0.0]() mutable -> std::optional<double> {
    std::optional<double> closed;
    if (game.racePhase == RacePhase::LapStarted && phase != RacePhase::LapStarted) {
      closed = lapTime;
    }
    phase = game.racePhase;
    lapTime = game.lapTime;
    return closed;
  };
}
