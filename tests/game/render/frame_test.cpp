// Whole frames on the handset's screen: the first paint starts the game, the labels and
// values stand where the HUD puts them, and a first and a mid-race frame are the
// pictures kept in data/.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/game_state.h"
#include "platform/gdi/device_context.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/window_state.h"
#include "render/frame.h"
#include "render/surfaces.h"
#include "shell/shell_state.h"
#include "support/fresh_handset.h"
#include "support/golden_picture.h"
#include "support/test_windows.h"

namespace {

constexpr int kTop = 52;  // the client area's top on the screen, below the taskbar

LRESULT CALLBACK GameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintFrame(window);
      return 0;
    case WM_TIMER:
      OnTick(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

class FrameTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    game = GameState{};
    surfaces = Surfaces{};
    shell = ShellState{};
    shell.appInstance = handset::AddProgramModule(u"vireta", EmbeddedResources());
    window = testsupport::MakeWindow(GameProcedure, u"VIRETA", u"Vireta", shell.appInstance);
    ASSERT_NE(window, nullptr);
    MoveWindow(window, 0, kTop, 480, 536, FALSE);
    UpdateWindow(window);
  }
  void Repaint() const {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  static void Picture(const char* name) {
    EXPECT_TRUE(testsupport::MatchesGolden(*handset::Windows().screen, std::string(FRAME_GOLDEN_DIR) + "/" + name));
  }

  HWND window = nullptr;
};

TEST_F(FrameTest, AShorterValueClearsTheLongerOneAndFramesFollowTheCar) {
  EXPECT_EQ(game.ready, 1);  // the first paint starts the game
  Picture("first_frame.png");
  game.racePhase = RacePhase::Racing;
  game.ticks = 200.0;
  Repaint();
  ASSERT_GE(game.lapTime, 10.0);
  ResetRace();
  Repaint();
  Picture("first_frame.png");  // "0.00" where "10.05" stood, nothing of it left

  // Mid-race: turned right, fast, the road scrolling under the car.
  game.carFrame = 13;
  game.carX = 240.0;
  game.shownSpeed = 9.0;
  game.racePhase = RacePhase::Racing;
  for (int frame = 0; frame < 40; ++frame) {
    Repaint();
  }
  Picture("mid_race.png");
}

// The handset refuses screens this small: the surfaces keep their 1 x 1 default and a
// whole frame drawn into them stays in bounds.
TEST(SmallClient, SurfacesWithoutAPlayfieldTakeAWholeFrameSafely) {
  for (const int height : {200, 150, 0}) {
    handset::Reset();
    game = GameState{};
    shell.appInstance = handset::AddProgramModule(u"vireta", EmbeddedResources());
    HDC canvas = CreateCompatibleDC(nullptr);
    SelectObject(canvas, CreateCompatibleBitmap(canvas, 480, 640));
    CreateSurfaces(canvas, RECT{0, 0, 480, height});
    ResetRace();
    BitBlt(surfaces.FrameSurface, 0, 0, 480, height - 200, surfaces.BackgroundSurface, 0, 0, SRCCOPY);
    RoadPass(surfaces.FrameSurface, surfaces.MarkerSprite);
    DrawSpeedDial(canvas);
    BitBlt(canvas, 0, 0, 480, height - 200, surfaces.FrameSurface, 0, 0, SRCCOPY);
    EXPECT_EQ(handset::BitmapOf(surfaces.FrameSurface)->Width(), 1);
    DeleteDC(canvas);
  }
  handset::Reset();
}

}  // namespace
