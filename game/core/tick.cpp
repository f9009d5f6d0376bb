// The tick: off-road penalty, the tilt step once the race is ready, and the repaint request.
#include "core/game_state.h"

namespace {
constexpr double OFF_ROAD_SPEED_FACTOR = 0.1;
constexpr double OFF_ROAD_SHOWN_FACTOR = 0.5;
}  // namespace

void OnTick(HWND window) {
  if (game.offRoad != 0) {
    game.offRoad = 0;
    game.speed = game.speed * OFF_ROAD_SPEED_FACTOR;
    game.shownSpeed = game.shownSpeed * OFF_ROAD_SHOWN_FACTOR;
  }
  if (game.ready == 1) {
    TiltStep();
  }
  InvalidateRect(window, nullptr, FALSE);
}
