// Surface contexts (an origin and a clip region inside a shared bitmap) and PNG files
// that cannot be written or read.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gdi_test_support.h"
#include "platform/gdi/png_file.h"
#include "platform/gdi/surface_dc.h"
#include "support/pixels.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

TEST_F(GdiTest, SurfaceContextDrawsOnlyInsideItsRegion) {
  auto screen = std::make_shared<handset::Bitmap>(20, 20, std::vector<std::uint32_t>(400, 0));
  // A client area at (5, 4), partly covered by a box: two visible pieces.
  HDC dc =
      handset::CreateSurfaceDC(screen, POINT{5, 4}, {RECT{5, 4, 15, 10}, RECT{5, 10, 10, 16}, RECT{-50, -50, 1, 1}});
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  const RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, brush);
  EXPECT_TRUE(testsupport::SamePixels(
      20, 20, [&](int x, int y) { return screen->At(x, y); },
      [](int x, int y) {
        const bool in =
            (x >= 5 && x < 15 && y >= 4 && y < 10) || (x >= 5 && x < 10 && y >= 10 && y < 16) || (x == 0 && y == 0);
        return in ? 0xFFFFFFU : 0U;
      }));
  // Logical (0, 0) is the client's corner.
  SetPixel(dc, 1, 1, RGB(255, 0, 0));
  EXPECT_EQ(screen->At(6, 5), 0xFF0000U);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 9, 9), CLR_INVALID);  // covered
  // A memory canvas copies from the screen through the region too.
  const Canvas copy(20, 20);
  BitBlt(copy.dc, 0, 0, 20, 20, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(copy.At(1, 1), 0xFF0000U);
  EXPECT_EQ(copy.At(12, 8), 0U);
  EXPECT_EQ(SelectObject(dc, CreateCompatibleBitmap(dc, 2, 2)), nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  DeleteObject(brush);
}

TEST_F(GdiTest, PngFailuresSayWhyAndReplaceNothing) {
  const Canvas canvas(2, 2);
  std::string error;
  EXPECT_FALSE(handset::WritePng(*handset::BitmapOf(canvas.dc), "/nonexistent/dir/x.png", error));
  EXPECT_NE(error.find("/nonexistent/dir/x.png"), std::string::npos);
  const auto dir = std::filesystem::path(testing::TempDir()) / "gdi_png_bad";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "junk.png") << "not a png";
  error.clear();
  EXPECT_FALSE(handset::ReadPng(dir / "junk.png", error));
  EXPECT_FALSE(error.empty());
  // A directory or a link in the way of the file: the write fails, what was there stays
  // and no temporary is left beside it.
  std::filesystem::create_directories(dir / "taken.png");
  EXPECT_FALSE(handset::WritePng(*handset::BitmapOf(canvas.dc), dir / "taken.png", error));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.png"));
  std::filesystem::create_symlink(dir / "junk.png", dir / "linked.png");
  EXPECT_FALSE(handset::WritePng(*handset::BitmapOf(canvas.dc), dir / "linked.png", error));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "linked.png"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 3);
}

}  // namespace
