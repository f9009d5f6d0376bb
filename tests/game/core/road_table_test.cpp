// The road table, bit for bit against the independent model, for widths odd, even,
// narrow and negative.
#include <algorithm>
#include <string>

#include "core_test_support.h"

namespace {

TEST_F(CoreTest, RoadTableMatchesTheModelForEveryWidth) {
  const auto rows = ReadGolden("road_tables.txt");
  ASSERT_GE(rows.size(), 8U);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 260U);
    const std::int32_t width = std::stoi(row[0]);
    SCOPED_TRACE("clientWidth " + std::to_string(width));
    std::fill(std::begin(game.roadTable), std::end(game.roadTable), -12345);
    game.clientWidth = width;
    BuildRoad();
    for (int slot = 0; slot <= ROAD_LAST_INDEX; ++slot) {
      ASSERT_EQ(game.roadTable[slot], std::stoi(row[static_cast<std::size_t>(slot) + 1])) << "slot " << slot;
    }
    for (int slot = ROAD_LAST_INDEX + 1; slot < ROAD_TABLE_SLOTS; ++slot) {
      ASSERT_EQ(game.roadTable[slot], -12345) << "slot " << slot << " was written";
    }
  }
}

}  // namespace
