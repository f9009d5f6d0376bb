// The road pass drawn by the handset: the striped road, the lighter start/finish
// segment, the markers with their mask, and no drawing object left behind. Writes a
// picture of one pass over grass for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/game_state.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/png_file.h"
#include "platform/handset/handset.h"

namespace {

constexpr std::uint32_t kGrass = 0x32C850;
constexpr std::uint32_t kRoad = 0x787878;
constexpr std::uint32_t kLine = 0xC8C8C8;
constexpr std::uint32_t kDisc = 0x00A0A0;

class RoadPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    game = GameState{};
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
    frame = CreateCompatibleDC(nullptr);
    SelectObject(frame, CreateCompatibleBitmap(frame, 480, 336));
    marker = CreateCompatibleDC(nullptr);
    SelectObject(marker, CreateCompatibleBitmap(marker, 24, 48));
    // A test marker: a 12 × 12 square picture on black, its mask a black square on white.
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH disc = CreateSolidBrush(RGB(0, 160, 160));
    const RECT maskHalf{0, 24, 24, 48};
    const RECT picture{6, 6, 18, 18};
    const RECT hole{6, 30, 18, 42};
    FillRect(marker, &maskHalf, white);
    FillRect(marker, &picture, disc);
    FillRect(marker, &hole, GetStockObject(BLACK_BRUSH));
    DeleteObject(white);
    DeleteObject(disc);
  }
  void TearDown() override { handset::Reset(); }

  void Grass() const {
    HBRUSH grass = CreateSolidBrush(RGB(50, 200, 80));
    const RECT all{0, 0, 480, 336};
    FillRect(frame, &all, grass);
    DeleteObject(grass);
  }
  std::uint32_t At(int x, int y) const { return handset::BitmapOf(frame)->At(x, y); }

  HDC frame = nullptr;
  HDC marker = nullptr;
};

TEST_F(RoadPixelsTest, SegmentsAreThickStrokesWithGrassBandsBetween) {
  Grass();
  RoadPass(frame, marker);  // reset road: segments 35.. at tops 10, 50, ...
  for (int k = 0; k < 8; ++k) {
    const int top = 10 + 40 * k;
    const int x0 = game.roadTable[35 + k];
    SCOPED_TRACE(top);
    // The cross stroke: rows top - 16 .. top + 16 from the left edge to the right.
    for (int y = std::max(0, top - 16); y <= std::min(335, top + 16); ++y) {
      for (int x = x0; x <= x0 + 200; x += 20) {
        ASSERT_EQ(At(x, y), kRoad) << x << "," << y;
      }
    }
    // Seven rows of grass show between two cross strokes, in the middle of the road.
    for (int y = top + 17; y <= top + 23 && y < 336; ++y) {
      ASSERT_EQ(At(x0 + 100, y), kGrass) << y;
    }
  }
  // Nothing grey beyond the strokes' reach.
  for (int y = 0; y < 336; ++y) {
    ASSERT_EQ(At(0, y), kGrass);
    ASSERT_EQ(At(479, y), kGrass);
  }
}

TEST_F(RoadPixelsTest, StartFinishSegmentIsLighterAndFlankedByMarkers) {
  Grass();
  game.roadIndex = 20;
  game.roadTop = 10;
  RoadPass(frame, marker);  // segment 25 at top 210
  const int x0 = game.roadTable[25];
  EXPECT_EQ(At(x0 + 100, 210), kLine);
  EXPECT_EQ(At(x0 + 100, 194), kLine);
  EXPECT_EQ(At(x0 + 100, 226), kLine);
  EXPECT_EQ(At(x0 + 100, 170), kRoad);  // segment 24's cross stroke stays road grey
  // Markers at the top of segment 25, 80 left of the road and 56 right of its right edge.
  for (const int left : {x0 - 80, x0 + 256}) {
    SCOPED_TRACE(left);
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        const bool picture = x >= 6 && x < 18 && y >= 6 && y < 18;
        const std::uint32_t pixel = At(left + x, 210 + y);
        if (picture) {
          ASSERT_EQ(pixel, kDisc) << x << "," << y;
        } else {
          ASSERT_TRUE(pixel == kGrass || pixel == kRoad || pixel == kLine) << x << "," << y;
        }
      }
    }
  }
  EXPECT_EQ(At(x0 - 80 + 5, 216), kGrass);  // beside the disc the grass shows
}

TEST_F(RoadPixelsTest, ManyPassesLeaveNoObjectBehindAndThePenAsFound) {
  const std::size_t before = handset::TheHandset().objects.Size();
  HGDIOBJ pen = SelectObject(frame, GetStockObject(BLACK_PEN));
  SelectObject(frame, pen);
  for (int n = 0; n < 300; ++n) {
    game.shownSpeed = 9.5;
    RoadPass(frame, marker);
  }
  EXPECT_EQ(handset::TheHandset().objects.Size(), before);
  EXPECT_EQ(SelectObject(frame, pen), pen);
}

TEST_F(RoadPixelsTest, WritesAPictureOfOnePass) {
  Grass();
  game.roadIndex = 22;
  game.roadTop = -5;
  RoadPass(frame, marker);
  const std::filesystem::path file = std::filesystem::path(ROAD_PICTURE_DIR) / "road_pass.png";
  std::string error;
  ASSERT_TRUE(handset::WritePng(*handset::BitmapOf(frame), file, error)) << error;
  const auto picture = handset::ReadPng(file, error);
  ASSERT_TRUE(picture) << error;
  EXPECT_EQ(picture->width, 480);
  EXPECT_EQ(picture->height, 336);
}

}  // namespace
