// Whole frames on the handset's screen: the first paint starts the game, the labels and
// values stand where the HUD puts them, and a first and a mid-race frame are the
// pictures kept in data/.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/game_state.h"
#include "gdi/device_context.h"
#include "handset/handset.h"
#include "handset/module.h"
#include "render/frame.h"
#include "render/surfaces.h"
#include "resources/embedded_resources.h"
#include "shell/shell_state.h"
#include "support/golden_picture.h"
#include "window/window_state.h"

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

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    game = GameState{};
    surfaces = Surfaces{};
    shell = ShellState{};
    shell.appInstance = handset::AddProgramModule(u"vireta", EmbeddedResources());
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = GameProcedure;
    windowClass.hInstance = shell.appInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = u"VIRETA";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    window = CreateWindowExW(0, u"VIRETA", u"Vireta", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, nullptr, nullptr, shell.appInstance, nullptr);
    ASSERT_NE(window, nullptr);
    MoveWindow(window, 0, kTop, 480, 536, FALSE);
    UpdateWindow(window);
  }
  void TearDown() override { handset::Reset(); }

  void Repaint() const {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  // A pixel of the client area as the screen shows it, 0x00RRGGBB.
  static std::uint32_t Screen(int x, int y) { return handset::Windows().screen->At(x, y + kTop) & 0xFFFFFFU; }
  static std::uint32_t Surface(HDC canvas, int x, int y) { return handset::BitmapOf(canvas)->At(x, y) & 0xFFFFFFU; }

  // Where `text` drawn at client (x, y) as the HUD draws it differs from the screen.
  static int TextMismatches(const std::u16string& text, int x, int y) {
    HDC reference = CreateCompatibleDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32W(reference, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(reference, CreateCompatibleBitmap(reference, size.cx, size.cy));
    SetBkColor(reference, RGB(0, 0, 0));
    SetTextColor(reference, RGB(100, 100, 0));
    ExtTextOutW(reference, 0, 0, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    int mismatches = 0;
    bool inked = false;
    for (int row = 0; row < size.cy; ++row) {
      for (int column = 0; column < size.cx; ++column) {
        const std::uint32_t expected = Surface(reference, column, row);
        inked = inked || expected == 0x646400U;
        mismatches += Screen(x + column, y + row) != expected ? 1 : 0;
      }
    }
    DeleteDC(reference);
    return inked ? mismatches : -1;
  }
  static int TextWidth(const std::u16string& text) {
    HDC measure = CreateCompatibleDC(nullptr);
    SIZE size{};
    GetTextExtentPoint32W(measure, text.data(), static_cast<int>(text.size()), &size);
    DeleteDC(measure);
    return size.cx;
  }
  static void Picture(const char* name) {
    EXPECT_TRUE(testsupport::MatchesGolden(*handset::Windows().screen, std::string(FRAME_GOLDEN_DIR) + "/" + name));
  }

  HWND window = nullptr;
};

TEST_F(FrameTest, FirstPaintStartsTheGameAndShowsTheStartingFrame) {
  EXPECT_EQ(game.ready, 1);
  EXPECT_EQ(game.clientWidth, 480);
  EXPECT_EQ(game.clientHeight, 536);
  ASSERT_EQ(handset::Windows().timers.size(), 1U);
  EXPECT_EQ(handset::Windows().timers[0].id, TICK_TIMER_ID);
  EXPECT_EQ(handset::Windows().timers[0].period, 50U);
  EXPECT_EQ(TextMismatches(u"0.00", 120, 536 - 50), 0);
  EXPECT_EQ(TextMismatches(u"99.00", 120, 536 - 100), 0);
  EXPECT_EQ(TextMismatches(u"Record:", 10, 536 - 100), 0);
  Picture("first_frame.png");
}

TEST_F(FrameTest, TheLabelsSpacesClearALongerValueAndFramesFollowTheCar) {
  game.racePhase = RacePhase::Racing;
  game.ticks = 200.0;
  Repaint();
  ASSERT_GE(game.lapTime, 10.0);
  ResetRace();
  Repaint();
  EXPECT_EQ(TextMismatches(u"0.00", 120, 536 - 50), 0);
  const int from = 120 + TextWidth(u"0.00");
  const int to = 120 + TextWidth(u"10.05");
  for (int x = from; x < to; ++x) {
    for (int y = 536 - 50; y < 536 - 50 + 20; ++y) {
      ASSERT_EQ(Screen(x, y), 0U) << x << "," << y;
    }
  }

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
