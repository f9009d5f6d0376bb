// The track: 50 straight segments, then 209 that swing along a sine wave, closed by the
// wrap from the last index back to 0.
#include <handset_math.h>

#include "core/game_state.h"

namespace {
constexpr int STRAIGHT_SEGMENTS = 50;
constexpr double SWING = 110.0;
}  // namespace

void BuildRoad() {
  const std::int32_t base = game.clientWidth / 4 + 20;
  for (int slot = 0; slot < STRAIGHT_SEGMENTS; ++slot) {
    game.roadTable[slot] = base;
  }
  // t is accumulated by repeated addition, never computed as slot * step: the table's
  // values at whole multiples of PI depend on the rounding of the running sum.
  double t = 0.0;
  for (int slot = STRAIGHT_SEGMENTS; slot <= ROAD_LAST_INDEX; ++slot) {
    game.roadTable[slot] = static_cast<std::int32_t>(sin(t) * SWING + static_cast<double>(base));
    t = t + PI * 0.0625;
  }
}
