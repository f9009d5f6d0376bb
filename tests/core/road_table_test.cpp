// The road table, bit for bit against the independent model and the known landmarks.
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

struct Landmark {
  std::int32_t width;
  int slot;
  std::int32_t x;
};

class RoadLandmarks : public CoreTest, public ::testing::WithParamInterface<Landmark> {};

TEST_P(RoadLandmarks, Slot) {
  const Landmark l = GetParam();
  game.clientWidth = l.width;
  BuildRoad();
  EXPECT_EQ(game.roadTable[l.slot], l.x);
}

INSTANTIATE_TEST_SUITE_P(Width480, RoadLandmarks,
                         ::testing::Values(Landmark{480, 0, 140}, Landmark{480, 48, 140}, Landmark{480, 49, 140},
                                           Landmark{480, 50, 140}, Landmark{480, 51, 161}, Landmark{480, 52, 182},
                                           Landmark{480, 53, 201}, Landmark{480, 54, 217}, Landmark{480, 55, 231},
                                           Landmark{480, 56, 241}, Landmark{480, 57, 247}, Landmark{480, 58, 250},
                                           Landmark{480, 59, 247}, Landmark{480, 74, 30}, Landmark{480, 185, 247},
                                           Landmark{480, 248, 241}, Landmark{480, 258, 140}));

// Where t is a whole multiple of PI the sine's tiny residual decides: odd multiples
// stay at base, even ones fall to base - 1.
INSTANTIATE_TEST_SUITE_P(MultiplesOfPi, RoadLandmarks,
                         ::testing::Values(Landmark{480, 66, 140}, Landmark{480, 98, 140}, Landmark{480, 130, 140},
                                           Landmark{480, 162, 140}, Landmark{480, 194, 140}, Landmark{480, 226, 140},
                                           Landmark{480, 258, 140}, Landmark{480, 82, 139}, Landmark{480, 114, 139},
                                           Landmark{480, 146, 139}, Landmark{480, 178, 139}, Landmark{480, 210, 139},
                                           Landmark{480, 242, 139}));

// Nothing clamps the road to the screen: on a narrow screen it leaves on the left.
INSTANTIATE_TEST_SUITE_P(Width240, RoadLandmarks,
                         ::testing::Values(Landmark{240, 0, 80}, Landmark{240, 58, 190}, Landmark{240, 74, -30},
                                           Landmark{240, 258, 80}));

}  // namespace
