// The pictures drawn at build time: masks that fit them exactly, and an icon with a
// transparent surround. Strings, menus and shortcuts are read by the game runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/resources/icon.h"
#include "resource_ids.h"

namespace {

class GameResources : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    instance = handset::AddProgramModule(u"vireta", EmbeddedResources());
  }
  void TearDown() override { handset::Reset(); }

  // The pixels of a bitmap resource, 0x00RRGGBB, top row first.
  std::vector<std::uint32_t> Pixels(UINT id, int& width, int& height) const {
    HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(id));
    EXPECT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        pixels.push_back((GetRValue(c) << 16U) | (GetGValue(c) << 8U) | GetBValue(c));
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
  }

  HINSTANCE instance = nullptr;
};

// A sheet holds its pictures above their masks: (mask AND background) OR picture must
// give the picture inside and the background outside, whatever the background.
TEST_F(GameResources, PicturesHaveTheirSizesAndMasksThatFitExactly) {
  const struct {
    UINT id;
    int width, height, leastInside;
  } sheets[] = {{IDB_CAR_SHEET, 912, 96, 19 * 600}, {IDB_MARKER, 24, 48, 24 * 12}};  // a car in every cell
  for (const auto& sheet : sheets) {
    int width = 0;
    int height = 0;
    const auto pixels = Pixels(sheet.id, width, height);
    ASSERT_EQ(width, sheet.width);
    ASSERT_EQ(height, sheet.height);
    const std::size_t half = pixels.size() / 2;
    int inside = 0;
    for (std::size_t i = 0; i < half; ++i) {
      const std::uint32_t picture = pixels[i];
      const std::uint32_t mask = pixels[i + half];
      ASSERT_TRUE(mask == 0xFFFFFFU ? picture == 0U : picture != 0U && (mask & ~picture) == 0U)
          << sheet.id << " pixel " << i;
      inside += mask != 0xFFFFFFU ? 1 : 0;
    }
    EXPECT_GE(inside, sheet.leastInside) << sheet.id;
  }
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  const auto image = handset::IconFromHandle(icon);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 48);
  EXPECT_EQ(image->height, 48);
  EXPECT_EQ(image->pixels.front() >> 24U, 0U);  // a transparent corner
  EXPECT_EQ(image->pixels[24 * 48 + 24] >> 24U, 0xFFU);
}

}  // namespace
