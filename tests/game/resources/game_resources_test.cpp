// The pictures drawn at build time: masks that fit them exactly, and an icon with a
// transparent surround. Strings, menus and shortcuts are read by the game runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/resources/icon.h"
#include "resource_ids.h"
#include "support/fresh_handset.h"

namespace {

class GameResources : public testsupport::FreshHandset {
 protected:
  HINSTANCE instance = handset::AddProgramModule(u"vireta", EmbeddedResources());
};

// A sheet holds its pictures above their masks: (mask AND background) OR picture must
// give the picture inside and the background outside, whatever the background.
TEST_F(GameResources, PicturesHaveTheirSizesAndMasksThatFitExactly) {
  // The sheet, its size, and the least of it its pictures cover: a car in every cell.
  const std::tuple<UINT, int, int, int> sheets[] = {{IDB_CAR_SHEET, 912, 96, 19 * 600}, {IDB_MARKER, 24, 48, 24 * 12}};
  for (const auto& [id, width, height, leastInside] : sheets) {
    HBITMAP handle = LoadBitmapW(instance, MAKEINTRESOURCEW(id));
    BITMAP info{};
    ASSERT_NE(GetObjectW(handle, sizeof info, &info), 0);
    ASSERT_EQ(std::pair(info.bmWidth, info.bmHeight), std::pair(LONG{width}, LONG{height}));
    const auto bitmap = handset::BitmapFromHandle(handle);
    int inside = 0;
    for (int y = 0; y < height / 2; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t picture = bitmap->At(x, y);
        const std::uint32_t mask = bitmap->At(x, y + height / 2);
        ASSERT_TRUE(mask == 0xFFFFFFU ? picture == 0U : picture != 0U && (mask & ~picture) == 0U)
            << id << " at " << x << "," << y;
        inside += mask != 0xFFFFFFU ? 1 : 0;
      }
    }
    EXPECT_GE(inside, leastInside) << id;
  }
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  const auto image = handset::IconFromHandle(icon);
  ASSERT_TRUE(image);
  // A transparent corner, an opaque middle.
  EXPECT_EQ((std::vector{image->width, image->height, int(image->pixels.front() >> 24U),
                         int(image->pixels[24 * 48 + 24] >> 24U)}),
            (std::vector{48, 48, 0, 0xFF}));
}

}  // namespace
