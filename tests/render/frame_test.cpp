// Whole frames on the handset's screen: the first paint starts the game, the car is the
// masked cell of the sheet, the labels and values stand where the HUD puts them, and the
// needle turns with the shown speed. Writes pictures of a first and a mid-race frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/png_file.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/window_state.h"
#include "render/frame.h"
#include "render/surfaces.h"
#include "shell/shell_state.h"

namespace {

constexpr int kTop = 52;  // the client area's top on the screen, below the taskbar
constexpr std::uint32_t kNeedle = 0xC8C896;

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
    std::string error;
    ASSERT_TRUE(handset::WritePng(*handset::Windows().screen, std::string(FRAME_PICTURE_DIR) + "/" + name, error))
        << error;
  }

  HWND window = nullptr;
};

TEST_F(FrameTest, FirstPaintStartsTheGameAndShowsTheStartingFrame) {
  EXPECT_EQ(game.ready, 1);
  EXPECT_EQ(game.clientWidth, 480);
  EXPECT_EQ(game.clientHeight, 536);
  EXPECT_EQ(game.bestTime, 99.0);
  ASSERT_EQ(handset::Windows().timers.size(), 1U);
  EXPECT_EQ(handset::Windows().timers[0].id, TICK_TIMER_ID);
  EXPECT_EQ(handset::Windows().timers[0].period, 50U);
  EXPECT_EQ(handset::BitmapOf(surfaces.FrameSurface)->Width(), 480);
  EXPECT_EQ(handset::BitmapOf(surfaces.FrameSurface)->Height(), 336);
  EXPECT_EQ(handset::BitmapOf(surfaces.BackgroundSurface)->Height(), 336);

  // Cell 9 at (216, 244): its picture wherever its mask is not white, grass or road around.
  ASSERT_EQ(static_cast<int>(game.carX), 216);
  ASSERT_EQ(game.carY, 244);
  int carPixels = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint32_t mask = Surface(surfaces.CarSheet, 9 * 48 + x, 48 + y);
      const std::uint32_t shown = Screen(216 + x, 244 + y);
      if (mask == 0xFFFFFFU) {
        EXPECT_TRUE(shown == 0x32C850U || shown == 0x787878U || shown == 0xC8C8C8U) << x << "," << y;
      } else {
        EXPECT_EQ(shown, Surface(surfaces.CarSheet, 9 * 48 + x, y)) << x << "," << y;
        ++carPixels;
      }
    }
  }
  EXPECT_GT(carPixels, 600);
  EXPECT_EQ(Screen(5, 5), 0x32C850U);  // grass at the top left, off the road

  EXPECT_EQ(TextMismatches(u"0.00", 120, 536 - 50), 0);
  EXPECT_EQ(TextMismatches(u"99.00", 120, 536 - 100), 0);
  EXPECT_EQ(TextMismatches(u"Record:", 10, 536 - 100), 0);

  // The dial's face at (408, 464) except for the upright needle from (440, 496).
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (x >= 30 && x <= 33 && y <= 34) {
        continue;
      }
      ASSERT_EQ(Screen(408 + x, 464 + y), Surface(surfaces.DialImage, x, y)) << x << "," << y;
    }
  }
  for (int y = 467; y < 496; ++y) {
    EXPECT_EQ(Screen(439, y), kNeedle) << y;
    EXPECT_EQ(Screen(440, y), kNeedle) << y;
  }
  Picture("first_frame.png");
}

TEST_F(FrameTest, NeedleTurnsWithTheShownSpeed) {
  game.shownSpeed = 5.0;
  Repaint();
  // c = 0 and s = -29: the needle lies along y 496 to x 469.
  for (int x = 441; x < 469; ++x) {
    EXPECT_EQ(Screen(x, 495), kNeedle) << x;
    EXPECT_EQ(Screen(x, 496), kNeedle) << x;
  }
  EXPECT_NE(Screen(472, 496), kNeedle);
  EXPECT_NE(Screen(440, 470), kNeedle);
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
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (Surface(surfaces.CarSheet, 13 * 48 + x, 48 + y) != 0xFFFFFFU) {
        ASSERT_EQ(Screen(240 + x, 244 + y), Surface(surfaces.CarSheet, 13 * 48 + x, y));
      }
    }
  }
  Picture("mid_race.png");
}

}  // namespace

namespace {

// The handset refuses screens this small; the surfaces must still hold whatever a frame
// draws into them.
TEST(SmallClient, SurfacesWithoutAPlayfieldTakeAWholeFrameSafely) {
  for (const int height : {200, 150, 0}) {
    handset::Reset();
    game = GameState{};
    surfaces = Surfaces{};
    shell = ShellState{};
    shell.appInstance = handset::AddProgramModule(u"vireta", EmbeddedResources());
    HDC canvas = CreateCompatibleDC(nullptr);
    SelectObject(canvas, CreateCompatibleBitmap(canvas, 480, 640));
    CreateSurfaces(canvas, RECT{0, 0, 480, height});
    ResetRace();
    BitBlt(surfaces.FrameSurface, 0, 0, 480, height - 200, surfaces.BackgroundSurface, 0, 0, SRCCOPY);
    RoadPass(surfaces.FrameSurface, surfaces.MarkerSprite);
    ClockStep();
    DrawSpeedDial(canvas);
    BitBlt(canvas, 0, 0, 480, height - 200, surfaces.FrameSurface, 0, 0, SRCCOPY);
    EXPECT_EQ(game.bestTime, 99.0);
    DeleteDC(canvas);
  }
  handset::Reset();
}

}  // namespace
