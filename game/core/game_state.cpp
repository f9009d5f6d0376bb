// The program's one GameState and the race reset.
#include "core/game_state.h"

GameState game = {};

void ResetRace() {
  // The halving truncates before the conversion: an odd width puts the car at a whole pixel.
  game.carX = static_cast<double>(game.clientWidth / 2 - 24);  // NOLINT(bugprone-integer-division)
  game.carY = game.clientHeight / 2 - 24;
  game.speed = 0.0;
  game.shownSpeed = 0.0;
  game.carFrame = 9;
  game.roadIndex = 35;  // ten segments below the line: every race starts driving up to it
  game.roadTop = 10;
  BuildRoad();
  game.ticks = 0.0;
  game.offRoad = 0;
  game.racePhase = RacePhase::Waiting;
}
