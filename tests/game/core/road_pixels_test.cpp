// The road pass drawn by the handset: the striped road, the lighter start/finish
// segment, the markers with their mask, and no drawing object left behind; two passes
// over grass are the pictures kept in data/.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/game_state.h"
#include "platform/gdi/device_context.h"
#include "platform/handset/handset.h"
#include "support/fresh_handset.h"
#include "support/golden_picture.h"

namespace {

class RoadPixelsTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    game = GameState{};
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
    frame = CreateCompatibleDC(nullptr);
    SelectObject(frame, CreateCompatibleBitmap(frame, 480, 336));
    marker = CreateCompatibleDC(nullptr);
    SelectObject(marker, CreateCompatibleBitmap(marker, 24, 48));
    // A test marker: a 12 × 12 square picture on black, its mask a black square on white.
    HBRUSH disc = CreateSolidBrush(RGB(0, 160, 160));
    const RECT maskHalf{0, 24, 24, 48}, picture{6, 6, 18, 18}, hole{6, 30, 18, 42};
    FillRect(marker, &maskHalf, GetStockObject(WHITE_BRUSH));
    FillRect(marker, &picture, disc);
    FillRect(marker, &hole, GetStockObject(BLACK_BRUSH));
    DeleteObject(disc);
  }
  void Grass() const {
    HBRUSH grass = CreateSolidBrush(RGB(50, 200, 80));
    const RECT all{0, 0, 480, 336};
    FillRect(frame, &all, grass);
    DeleteObject(grass);
  }

  HDC frame = nullptr;
  HDC marker = nullptr;
};

TEST_F(RoadPixelsTest, TheResetRoadAndTheStartFinishSegment) {
  Grass();
  RoadPass(frame, marker);  // segments 35.. at tops 10, 50, ...
  EXPECT_TRUE(testsupport::MatchesGolden(*handset::BitmapOf(frame), std::string(ROAD_GOLDEN_DIR) + "/reset_road.png"));

  Grass();
  game.roadIndex = 20;
  game.roadTop = 10;
  RoadPass(frame, marker);  // segment 25, the lighter one with its markers, at top 210
  EXPECT_TRUE(
      testsupport::MatchesGolden(*handset::BitmapOf(frame), std::string(ROAD_GOLDEN_DIR) + "/start_finish.png"));
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

}  // namespace
