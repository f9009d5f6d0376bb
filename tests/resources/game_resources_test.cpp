// The program's resources as the game and the shell read them: every number, type,
// language and text, and pictures whose masks fit them exactly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/resources/icon.h"
#include "platform/resources/resource_access.h"
#include "resource_ids.h"

namespace {

constexpr WORD kSpanish = 0x0C0A;

class GameResources : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    instance = handset::AddProgramModule(u"vireta", EmbeddedResources());
  }
  void TearDown() override { handset::Reset(); }

  std::u16string String(UINT id) const {
    char16_t buffer[100] = {};
    const int length = LoadStringW(instance, id, buffer, 100);
    return {buffer, static_cast<std::size_t>(length)};
  }
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

TEST_F(GameResources, EveryResourceIsThereInSpanish) {
  const struct {
    UINT id;
    LPCWSTR type;
  } expected[] = {{IDB_CAR_SHEET, RT_BITMAP},      {IDB_MARKER, RT_BITMAP},   {IDB_DIAL, RT_BITMAP},
                  {IDI_APP, RT_GROUP_ICON},        {IDR_MENU_BAR, RT_RCDATA}, {IDR_MENU, RT_MENU},
                  {IDA_SHORTCUTS, RT_ACCELERATOR}, {IDD_ABOUT, RT_DIALOG},    {IDD_ABOUT_OLD, RT_DIALOG}};
  for (const auto& resource : expected) {
    EXPECT_NE(FindResourceExW(instance, resource.type, MAKEINTRESOURCEW(resource.id), kSpanish), nullptr)
        << resource.id;
  }
  EXPECT_EQ(String(IDS_APP_TITLE), u"Vireta");
  EXPECT_EQ(String(IDS_APP_CLASS), u"VIRETA");
  EXPECT_EQ(String(IDS_OK_LABEL), u"Aceptar");
  EXPECT_EQ(String(IDS_HELP_LABEL), u"AYUDA");
  HRSRC hiRes = FindResourceW(instance, u"HI_RES_AWARE", u"CEUX");
  ASSERT_NE(hiRes, nullptr);
  ASSERT_EQ(SizeofResource(instance, hiRes), 2U);
  const auto* word = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, hiRes)));
  EXPECT_EQ(word[0] | (word[1] << 8U), 1);
}

TEST_F(GameResources, SoftKeyBarMenuAndShortcutsReadAsTheShellExpects) {
  const auto bar = handset::FindRcData(instance, MAKEINTRESOURCEW(IDR_MENU_BAR));
  ASSERT_TRUE(bar.has_value());
  std::vector<unsigned> words;
  for (std::size_t i = 0; i + 1 < bar->size(); i += 2) {
    words.push_back(std::to_integer<unsigned>((*bar)[i]) | (std::to_integer<unsigned>((*bar)[i + 1]) << 8U));
  }
  EXPECT_EQ(words,
            (std::vector<unsigned>{102, 2, 0xFFFE, 40000, 4, 0x10, 103, 0, 0xFFFF, 0xFFFE, 40001, 4, 0x18, 104, 0, 0}));
  const auto menu = handset::FindMenu(instance, MAKEINTRESOURCEW(IDR_MENU));
  ASSERT_TRUE(menu.has_value());
  ASSERT_EQ(menu->items.size(), 1U);
  EXPECT_EQ(menu->items[0].text, u"Ayuda");
  EXPECT_TRUE(menu->items[0].IsPopup());
  ASSERT_EQ(menu->items[0].children.size(), 1U);
  EXPECT_EQ(menu->items[0].children[0].text, u"Acerca de");
  EXPECT_EQ(menu->items[0].children[0].id, CMD_ABOUT);

  HRSRC shortcuts = FindResourceW(instance, MAKEINTRESOURCEW(IDA_SHORTCUTS), RT_ACCELERATOR);
  ASSERT_NE(shortcuts, nullptr);
  ASSERT_EQ(SizeofResource(instance, shortcuts), 16U);
  const auto* entries = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, shortcuts)));
  // Flags, key, command of each 8-byte entry; the last one marked 0x80.
  EXPECT_EQ(entries[0], 0x0B);
  EXPECT_EQ(entries[2], 'A');
  EXPECT_EQ(entries[4] | (entries[5] << 8U), CMD_ABOUT);
  EXPECT_EQ(entries[8], 0x8B);
  EXPECT_EQ(entries[10], 'Q');
  EXPECT_EQ(entries[12] | (entries[13] << 8U), CMD_OK);
}

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
  // The straight car is symmetric left to right in its outline.
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 24; ++x) {
      EXPECT_EQ(cars[static_cast<std::size_t>(y * 912 + 9 * 48 + x)] == 0,
                cars[static_cast<std::size_t>(y * 912 + 9 * 48 + 47 - x)] == 0);
    }
  }

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
  Pixels(IDB_DIAL, width, height);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 64);

  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  const auto image = handset::IconFromHandle(icon);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 48);
  EXPECT_EQ(image->height, 48);
  EXPECT_EQ(image->pixels.front() >> 24U, 0U);  // a transparent corner
  EXPECT_EQ(image->pixels[24 * 48 + 24] >> 24U, 0xFFU);
}

}  // namespace
