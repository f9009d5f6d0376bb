// Text: blank cells as wide as the extent says, the transparent mode, clipping at any
// coordinates, and the rectangle options.
#include "gdi_test_support.h"
#include "support/pixels.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

TEST_F(GdiTest, SpacesAreBlankCellsAndTransparentModeKeepsTheBackground) {
  const Canvas canvas(200, 40);
  canvas.Fill(RGB(50, 200, 80));
  SIZE spaces{};
  GetTextExtentPoint32W(canvas.dc, u"   ", 3, &spaces);
  ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, u"   ", 3, nullptr);
  EXPECT_EQ(canvas.Count(0xFFFFFF), spaces.cx * spaces.cy);  // default background: white

  const Canvas clear(200, 40);
  clear.Fill(RGB(50, 200, 80));
  SetBkMode(clear.dc, TRANSPARENT);
  ExtTextOutW(clear.dc, 0, 0, 0, nullptr, u"Vuelta", 6, nullptr);
  EXPECT_EQ(clear.Count(0xFFFFFF), 0);
  EXPECT_GT(clear.Count(0x000000), 50);
  EXPECT_EQ(clear.Count(0x32C850) + clear.Count(0x000000), 200 * 40);
}

TEST_F(GdiTest, TextIsClippedAtTheEdgesAndAnyCharacterDraws) {
  const Canvas canvas(30, 20);
  const std::u16string text = u"\u00e9\u00f1 \U0001F697 \xD800x";  // accents, a car, a lone half
  for (const POINT at : {POINT{-15, -10}, POINT{20, 12}, POINT{INT_MIN, 0}, POINT{INT_MAX, INT_MAX}}) {
    EXPECT_TRUE(ExtTextOutW(canvas.dc, at.x, at.y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr));
  }
  EXPECT_FALSE(ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, nullptr, 3, nullptr));
  EXPECT_TRUE(ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, nullptr, 0, nullptr));
}

TEST_F(GdiTest, OpaqueAndClippedOptionsUseTheRectangle) {
  const Canvas canvas(100, 40);
  SetBkColor(canvas.dc, RGB(0, 0, 255));
  const RECT box{10, 10, 20, 20};
  ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &box, u"WWWW", 4, nullptr);
  // Inside the box the text or its background; outside nothing.
  EXPECT_TRUE(testsupport::SamePixels(
      100, 40, [&](int x, int y) { return canvas.At(x, y); },
      [&](int x, int y) { return x >= 10 && x < 20 && y >= 10 && y < 20 ? canvas.At(x, y) : 0U; }));
  EXPECT_TRUE(canvas.At(15, 15) == 0x0000FFU || canvas.At(15, 15) == 0U);
}

}  // namespace
