// Pens: exact thickness across the road's 33-pixel strokes and the needle's 2-pixel
// ones, round ends, thin lines without their end point, clipping at any coordinates.
#include <climits>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

constexpr std::uint32_t kGrey = 0x787878;
constexpr COLORREF kGreyColour = RGB(120, 120, 120);

// The rows and columns where `pixel` appears, as [first, last].
struct Extent {
  int top = INT_MAX, bottom = INT_MIN, left = INT_MAX, right = INT_MIN;
};
Extent ExtentOf(const Canvas& canvas, std::uint32_t pixel) {
  Extent e;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.At(x, y) == pixel) {
        e = {std::min(e.top, y), std::max(e.bottom, y), std::min(e.left, x), std::max(e.right, x)};
      }
    }
  }
  return e;
}

TEST_F(GdiTest, WidePensCoverExactlyTheirWidthAcrossWithRoundEnds) {
  for (const int width : {2, 3, 33, 34}) {
    SCOPED_TRACE(width);
    const Canvas across(200, 120);
    across.Line(width, kGreyColour, 50, 60, 150, 60);
    const Extent h = ExtentOf(across, kGrey);
    EXPECT_EQ(h.top, 60 - width / 2);
    EXPECT_EQ(h.bottom, 60 - width / 2 + width - 1);
    // Round ends reach half the width beyond each end point, and only at the middle.
    EXPECT_EQ(h.left, 50 - width / 2);
    EXPECT_EQ(h.right, 150 + (width - 1) / 2);
    if (width > 3) {
      EXPECT_NE(across.At(50 - width / 2, 60 - width / 2), kGrey);
    }

    const Canvas down(120, 200);
    down.Line(width, kGreyColour, 60, 50, 60, 150);
    const Extent v = ExtentOf(down, kGrey);
    EXPECT_EQ(v.left, 60 - width / 2);
    EXPECT_EQ(v.right, 60 - width / 2 + width - 1);
    EXPECT_EQ(v.top, 50 - width / 2);
    EXPECT_EQ(v.bottom, 150 + (width - 1) / 2);
  }
}

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
  std::uint64_t seed = 12345;
  const auto next = [&](int range) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(range));
  };
  // Shapes repeat at other places, as a road's do, and reach over the canvas's edges.
  for (int i = 0; i < 300; ++i) {
    const int width = 2 + next(39);
    const int dx = next(121) - 60, dy = next(121) - 60;
    for (int copy = 0; copy < 2; ++copy) {
      const int x0 = next(140) - 10, y0 = next(140) - 10;
      const Canvas canvas(120, 120);
      canvas.Line(width, kGreyColour, x0, y0, x0 + dx, y0 + dy);
      int wrong = 0;
      for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
          wrong += (canvas.At(x, y) == kGrey) != Covered(x, y, x0, y0, x0 + dx, y0 + dy, width) ? 1 : 0;
        }
      }
      ASSERT_EQ(wrong, 0) << "width " << width << " from " << x0 << "," << y0 << " by " << dx << "," << dy;
    }
  }
}

TEST_F(GdiTest, RoadStrokeRowsAreSolidSpans) {
  const Canvas canvas(300, 80);
  canvas.Line(33, kGreyColour, 40, 40, 240, 40);
  for (int y = 24; y <= 56; ++y) {
    EXPECT_EQ(canvas.Row(y, kGrey).substr(40, 201), std::string(201, '#')) << y;
  }
  EXPECT_EQ(canvas.Row(23, kGrey), std::string(300, '.'));
  EXPECT_EQ(canvas.Row(57, kGrey), std::string(300, '.'));
  // The round end at the left: one pixel at the tip, fuller towards the centre row.
  EXPECT_EQ(canvas.Row(40, kGrey).substr(24, 2), "##");
  EXPECT_EQ(canvas.Row(40, kGrey)[23], '.');
  EXPECT_EQ(canvas.Row(24, kGrey).substr(36, 5), "#####");
  EXPECT_EQ(canvas.Row(24, kGrey)[33], '.');
}

TEST_F(GdiTest, SlantedStrokeIsSymmetricAndAsThickAsItsPen) {
  // A 45-degree stroke and its mirror image cover mirrored pixels.
  const Canvas right(100, 100);
  const Canvas left(100, 100);
  right.Line(33, kGreyColour, 30, 30, 70, 70);
  left.Line(33, kGreyColour, 69, 30, 29, 70);
  for (int y = 0; y < 100; ++y) {
    std::string mirrored = left.Row(y, kGrey);
    std::reverse(mirrored.begin(), mirrored.end());
    EXPECT_EQ(right.Row(y, kGrey), mirrored) << y;
  }
  // Across the middle of the stroke, perpendicular to it, 33 pixels: on the row
  // through the centre the stroke spans 33 * sqrt(2) columns, rounded to whole pixels.
  const std::string middle = right.Row(50, kGrey);
  const auto first = middle.find('#');
  const auto last = middle.rfind('#');
  EXPECT_EQ(middle.substr(first, last - first + 1), std::string(last - first + 1, '#'));
  EXPECT_NEAR(static_cast<double>(last - first + 1), 33 * 1.41421356, 1.0);
}

TEST_F(GdiTest, ThinLinesLeaveOutTheirEndPoint) {
  for (const int width : {0, 1}) {
    const Canvas canvas(10, 10);
    canvas.Line(width, RGB(255, 255, 255), 1, 1, 6, 1);
    EXPECT_EQ(canvas.Row(1, 0xFFFFFF), ".#####....");
    const Canvas diagonal(10, 10);
    diagonal.Line(width, RGB(255, 255, 255), 8, 8, 2, 2);
    EXPECT_EQ(diagonal.Count(0xFFFFFF), 6);
    EXPECT_EQ(diagonal.At(8, 8), 0xFFFFFFU);
    EXPECT_EQ(diagonal.At(2, 2), 0x000000U);
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
  EXPECT_EQ(at.x, 9);
  EXPECT_EQ(at.y, 9);
  EXPECT_EQ(canvas.Count(0x000000), 100);
}

}  // namespace
