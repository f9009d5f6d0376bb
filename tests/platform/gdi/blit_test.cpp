// Block transfers and fills: clipping against both bitmaps at every edge, and copies
// within one bitmap.
#include <climits>

#include "gdi_test_support.h"
#include "support/pixels.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

// Pixels numbered by position, so that any misplaced copy shows.
void Number(const Canvas& canvas) {
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      SetPixel(canvas.dc, x, y, static_cast<COLORREF>(0x010000 * y + x + 1));
    }
  }
}
std::uint32_t Numbered(int x, int y) { return handset::PixelOf(static_cast<COLORREF>(0x010000 * y + x + 1)); }

TEST_F(GdiTest, BitBltIsClippedAgainstSourceAndDestination) {
  const Canvas source(8, 6);
  Number(source);
  // Where the block goes, its size and where it comes from.
  const int cases[][6] = {{-3, -2, 8, 6, 0, 0},
                          {5, 4, 8, 6, 0, 0},
                          {0, 0, 8, 6, -3, -2},
                          {0, 0, 8, 6, 4, 3},
                          {2, 1, 100, 100, 1, 1},
                          {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
                          {0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                          {INT_MAX, 0, INT_MAX, 5, 0, 0},
                          {1, 1, -4, 4, 0, 0},
                          {1, 1, 4, 0, 0, 0}};
  for (const auto& [left, top, width, height, srcX, srcY] : cases) {
    SCOPED_TRACE(testing::Message() << left << "," << top << " " << width << "x" << height << " from " << srcX << ","
                                    << srcY);
    const Canvas target(7, 5);
    EXPECT_TRUE(BitBlt(target.dc, left, top, width, height, source.dc, srcX, srcY, SRCCOPY));
    EXPECT_TRUE(testsupport::SamePixels(
        7, 5, [&](int x, int y) { return target.At(x, y); },
        [&](int x, int y) {
          const std::int64_t dx = std::int64_t{x} - left;
          const std::int64_t dy = std::int64_t{y} - top;
          const std::int64_t sx = dx + srcX;
          const std::int64_t sy = dy + srcY;
          const bool inBlock = dx >= 0 && dx < width && dy >= 0 && dy < height;
          const bool inSource = sx >= 0 && sx < 8 && sy >= 0 && sy < 6;
          return inBlock && inSource ? Numbered(static_cast<int>(sx), static_cast<int>(sy)) : 0U;
        }));
  }
}

TEST_F(GdiTest, OverlappingCopiesWithinOneBitmapMoveTheOriginalPixels) {
  for (const int dx : {-2, 0, 3}) {
    for (const int dy : {-1, 0, 2}) {
      for (const DWORD rop : {SRCCOPY, SRCPAINT}) {
        const Canvas canvas(12, 9);
        Number(canvas);
        BitBlt(canvas.dc, 3 + dx, 2 + dy, 5, 4, canvas.dc, 3, 2, rop);
        EXPECT_TRUE(testsupport::SamePixels(
            5, 4, [&](int x, int y) { return canvas.At(3 + dx + x, 2 + dy + y); },
            [&](int x, int y) {
              const std::uint32_t before = Numbered(3 + dx + x, 2 + dy + y);
              const std::uint32_t moved = Numbered(3 + x, 2 + y);
              return rop == SRCCOPY ? moved : (before | moved);
            }))
            << dx << "," << dy;
      }
    }
  }
}

TEST_F(GdiTest, FillRectIsClippedAndLeavesRightAndBottomOut) {
  const Canvas canvas(6, 4);
  HBRUSH brush = CreateSolidBrush(RGB(50, 200, 80));
  const RECT inner{1, 1, 3, 3};
  FillRect(canvas.dc, &inner, brush);
  EXPECT_TRUE(testsupport::SamePixels(
      6, 4, [&](int x, int y) { return canvas.At(x, y); },
      [](int x, int y) { return x >= 1 && x < 3 && y >= 1 && y < 3 ? 0x32C850U : 0U; }));
  const RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  FillRect(canvas.dc, &huge, brush);
  const RECT inverted{5, 5, 1, 1};
  FillRect(canvas.dc, &inverted, GetStockObject(BLACK_BRUSH));
  FillRect(canvas.dc, &huge, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(canvas.Count(0x32C850), 24);
  DeleteObject(brush);
}

}  // namespace
