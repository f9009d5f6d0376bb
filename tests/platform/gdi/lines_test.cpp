// Pens: exact thickness across the road's 33-pixel strokes and the needle's 2-pixel
// ones, round ends, thin lines without their end point, clipping at any coordinates;
// single pixels.
#include <array>
#include <climits>
#include <tuple>
#include <vector>

#include "gdi_test_support.h"
#include "support/known_gap.h"
#include "support/pixels.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

constexpr std::uint32_t kGrey = 0x787878;
constexpr COLORREF kGreyColour = RGB(120, 120, 120);

// The rule itself, in half-pixel units: a pixel is covered when its centre lies within
// width / 2 of the segment.
bool Covered(int x, int y, int x0, int y0, int x1, int y1, int width) {
  const int s = width % 2;
  const std::int64_t ax = 2 * x0 + s, ay = 2 * y0 + s, dx = 2 * (x1 - x0), dy = 2 * (y1 - y0);
  const std::int64_t ux = 2 * x + 1 - ax, uy = 2 * y + 1 - ay, r2 = std::int64_t{width} * width;
  const std::int64_t squared = dx * dx + dy * dy, along = ux * dx + uy * dy;
  if (squared == 0 || along <= 0) {
    return ux * ux + uy * uy <= r2;
  }
  if (along >= squared) {
    return (ux - dx) * (ux - dx) + (uy - dy) * (uy - dy) <= r2;
  }
  const std::int64_t cross = ux * dy - uy * dx;
  return cross * cross <= r2 * squared;
}

TEST_F(GdiTest, WideStrokesOfAnyShapeCoverExactlyTheirPixelsWhereverTheyAre) {
  // The road's and the needle's strokes across, down and slanted, with their round ends,
  // then shapes at random that repeat at other places, as a road's do, and reach over
  // the canvas's edges. Each is a width, a start, and how far it goes across and down.
  std::vector<std::array<int, 5>> strokes = {{33, 20, 60, 80, 0},  {34, 20, 60, 80, 0}, {33, 60, 20, 0, 80},
                                             {2, 60, 20, 0, 80},   {3, 20, 60, 80, 0},  {33, 30, 30, 40, 40},
                                             {33, 69, 30, -40, 40}};
  std::uint64_t seed = 12345;
  const auto next = [&](int range) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(range));
  };
  for (int i = 0; i < 300; ++i) {
    const int width = 2 + next(39);
    const int dx = next(121) - 60, dy = next(121) - 60;
    for (int copy = 0; copy < 2; ++copy) {
      const int x0 = next(140) - 10, y0 = next(140) - 10;
      strokes.push_back({width, x0, y0, dx, dy});
    }
  }
  for (const auto& [width, x0, y0, dx, dy] : strokes) {
    const Canvas canvas(120, 120);
    canvas.Line(width, kGreyColour, x0, y0, x0 + dx, y0 + dy);
    ASSERT_TRUE(testsupport::SamePixels(
        120, 120, [&](int x, int y) { return canvas.At(x, y) == kGrey ? 1U : 0U; },
        [&](int x, int y) { return Covered(x, y, x0, y0, x0 + dx, y0 + dy, width) ? 1U : 0U; }))
        << "width " << width << " from " << x0 << "," << y0 << " by " << dx << "," << dy;
  }
}

TEST_F(GdiTest, ThinLinesLeaveOutTheirEndPoint) {
  for (const int width : {0, 1}) {
    const Canvas canvas(10, 10);
    canvas.Line(width, RGB(255, 255, 255), 1, 1, 6, 1);
    EXPECT_EQ(canvas.Row(1, 0xFFFFFF), ".#####....");
    const Canvas diagonal(10, 10);
    diagonal.Line(width, RGB(255, 255, 255), 8, 8, 2, 2);
    EXPECT_EQ(std::make_tuple(diagonal.Count(0xFFFFFF), diagonal.At(8, 8), diagonal.At(2, 2)),
              std::make_tuple(6, 0xFFFFFFU, 0U));
  }
  // A shallow line steps evenly.
  const Canvas shallow(12, 4);
  shallow.Line(1, RGB(255, 255, 255), 0, 0, 8, 2);
  EXPECT_EQ(shallow.Row(0, 0xFFFFFF), "##..........");
  EXPECT_EQ(shallow.Row(1, 0xFFFFFF), "..####......");
  EXPECT_EQ(shallow.Row(2, 0xFFFFFF), "......##....");
}

TEST_F(GdiTest, LinesAtExtremeCoordinatesAreClippedNotAnError) {
  const Canvas canvas(40, 40);
  canvas.Line(33, kGreyColour, INT_MIN, 20, INT_MAX, 20);
  for (int y = 4; y <= 36; ++y) {
    EXPECT_EQ(canvas.Row(y, kGrey), std::string(40, '#')) << y;
  }
  const Canvas thin(40, 40);
  thin.Line(1, RGB(255, 255, 255), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  thin.Line(1, RGB(255, 255, 255), 20, INT_MIN, 20, INT_MAX);
  EXPECT_EQ(thin.At(20, 0), 0xFFFFFFU);
  EXPECT_EQ(thin.At(20, 39), 0xFFFFFFU);
  // Far outside: nothing drawn, nothing touched.
  const Canvas away(40, 40);
  away.Line(33, kGreyColour, INT_MAX, INT_MAX, INT_MAX - 5, INT_MAX);
  away.Line(2000, kGreyColour, -100000, -100000, -99990, -100000);
  away.Line(33, kGreyColour, -1000, 100, 1000, 100);
  EXPECT_EQ(away.Count(0x000000), 1600);
  // A pen as wide as the canvas and more fills it all.
  away.Line(INT_MAX, kGreyColour, 0, 0, 0, 0);
  EXPECT_EQ(away.Count(kGrey), 1600);
}

TEST_F(GdiTest, NullPenDrawsNothingButMoves) {
  const Canvas canvas(10, 10);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 9, 9);
  POINT at{};
  MoveToEx(canvas.dc, 0, 0, &at);
  EXPECT_EQ(std::tie(at.x, at.y), std::make_tuple(9, 9));
  EXPECT_EQ(canvas.Count(0x000000), 100);
}

TEST_F(GdiTest, APixelOutsideTheCanvasIsNeitherReadNorWritten) {
  const Canvas canvas(4, 4);
  EXPECT_EQ(GetPixel(canvas.dc, 4, 0), CLR_INVALID);
  const COLORREF set = SetPixel(canvas.dc, 4, 0, RGB(255, 0, 0));
  EXPECT_EQ(canvas.Count(0x000000), 16);
  KNOWN_GAP("SetPixel outside the clipping region fails with -1") { EXPECT_EQ(set, CLR_INVALID); }
}

}  // namespace
