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

// (mask AND background) OR picture must give the picture inside and the background
// outside: wherever the mask is white the picture is black, and inside the mask lets
// no background through.
TEST_F(GameResources, PicturesHaveTheirSizesAndMasksThatFitExactly) {
  int width = 0;
  int height = 0;
  const auto cars = Pixels(IDB_CAR_SHEET, width, height);
  ASSERT_EQ(width, 912);
  ASSERT_EQ(height, 96);
  int carPixels = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 912; ++x) {
      const std::uint32_t picture = cars[static_cast<std::size_t>(y * 912 + x)];
      const std::uint32_t mask = cars[static_cast<std::size_t>((y + 48) * 912 + x)];
      if (mask == 0xFFFFFFU) {
        ASSERT_EQ(picture, 0U) << x << "," << y;
      } else {
        ASSERT_EQ(picture, mask) << x << "," << y;
        ASSERT_NE(picture, 0U) << x << "," << y;
        ++carPixels;
      }
    }
  }
  EXPECT_GT(carPixels, 19 * 600);  // a car in every cell
  const auto marker = Pixels(IDB_MARKER, width, height);
  ASSERT_EQ(width, 24);
  ASSERT_EQ(height, 48);
  for (std::size_t i = 0; i < 24 * 24; ++i) {
    const std::uint32_t mask = marker[i + 24 * 24];
    ASSERT_TRUE(mask == 0U || mask == 0xFFFFFFU);
    if (mask == 0xFFFFFFU) {
      ASSERT_EQ(marker[i], 0U);
    } else {
      ASSERT_NE(marker[i], 0U);
    }
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
