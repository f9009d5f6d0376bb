// Text: cells in the background colour, glyphs in the text colour and nothing else,
// the cell's top left at (x, y), widths as the extent reports them.
#include <set>

#include "gdi_test_support.h"
#include "support/pixels.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

TEST_F(GdiTest, TextPaintsOpaqueCellsInTwoColours) {
  const Canvas canvas(300, 60);
  canvas.Fill(RGB(50, 200, 80));
  SetBkColor(canvas.dc, RGB(0, 0, 0));
  SetTextColor(canvas.dc, RGB(255, 255, 0));
  const std::u16string text = u"Tiempo: 12.34";
  SIZE extent{};
  ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, text.data(), static_cast<int>(text.size()), &extent));
  // 9 points at 192 dpi is a 24-pixel em; the cell adds the face's ascent and descent.
  EXPECT_GE(extent.cy, 24);
  EXPECT_LE(extent.cy, 32);
  EXPECT_GT(extent.cx, 100);
  ASSERT_TRUE(ExtTextOutW(canvas.dc, 10, 5, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr));
  std::set<std::uint32_t> inside;
  int ink = 0;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      const bool cell = x >= 10 && x < 10 + extent.cx && y >= 5 && y < 5 + extent.cy;
      if (cell) {
        inside.insert(canvas.At(x, y));
        ink += canvas.At(x, y) == 0xFFFF00 ? 1 : 0;
      } else {
        ASSERT_EQ(canvas.At(x, y), 0x32C850U) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(inside, (std::set<std::uint32_t>{0x000000, 0xFFFF00}));
  EXPECT_GT(ink, 200);
  // The glyphs sit inside the cell: the first row of ink is below its top.
  EXPECT_EQ(canvas.Row(5, 0xFFFF00), std::string(300, '.'));
}

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
