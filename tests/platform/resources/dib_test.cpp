// Bitmap and icon decoding: exact pixels for every depth and row order, refusal of
// headers and rows that do not fit.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/resources/dib.h"
#include "platform/resources/group_icon.h"
#include "resource_test_support.h"
#include "test_ids.h"

namespace {

using handset::res::DecodeDib;
using handset::res::DecodeIconDib;
using restest::Bytes;
using restest::DataOf;

Bytes Header(std::int32_t width, std::int32_t height, unsigned bits, unsigned colours = 0) {
  Bytes b;
  b.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height)).U16(1).U16(bits);
  b.U32(0).U32(0).U32(0).U32(0).U32(colours).U32(0);
  return b;
}

// The width and pixels `bytes` decode to; none when refused.
std::pair<int, std::vector<std::uint32_t>> Decoded(const Bytes& bytes) {
  const auto image = DecodeDib(bytes.Span());
  EXPECT_TRUE(image) << (image ? "" : image.error());
  return image ? std::pair(image->width, image->pixels) : std::pair(0, std::vector<std::uint32_t>{});
}

// Palette indices are read high bits first.
TEST(Dib, EveryDepthAndRowOrderGivesItsPixels) {
  // 8 bits, 3 colours, 3 x 2 bottom-up: each row padded to 4 bytes.
  Bytes eight = Header(3, 2, 8, 3).U32(0x00112233).U32(0x00445566).U32(0x00778899);
  eight.U8(2).U8(1).U8(0).U8(0xEE).U8(0).U8(0).U8(1).U8(0xEE);
  Bytes wholePalette = Header(1, -1, 8);  // no count given: the whole palette the depth allows
  Bytes four = Header(3, -1, 4, 16);
  for (unsigned i = 0; i < 256; ++i) {
    wholePalette.U32(i);
    if (i < 16) {
      four.U32(i * 0x010101U);
    }
  }
  const std::uint32_t k = 0, w = 0xFFFFFF;
  const std::tuple<Bytes, int, std::vector<std::uint32_t>> cases[] = {
      // make_test_images' 24 bits, odd width, bottom-up: R = 0x10 x + 1, G = 0x20 y + 2,
      // B = 0x33, y counted from the top.
      {Bytes().Append(DataOf(2, IDB_CAR)), 3, {0x010233, 0x110233, 0x210233, 0x012233, 0x112233, 0x212233}},
      // 32 bits top-down: the alpha goes.
      {Header(2, -2, 32).U32(0xFF010203).U32(0x80040506).U32(0x00070809).U32(0x000A0B0C),
       2,
       {0x010203, 0x040506, 0x070809, 0x0A0B0C}},
      {eight, 3, {0x112233, 0x112233, 0x445566, 0x778899, 0x445566, 0x112233}},
      {wholePalette.U8(200).U8(0).U16(0), 1, {200}},
      {four.U8(0x5A).U8(0xF0).U16(0), 3, {0x050505, 0x0A0A0A, 0x0F0F0F}},
      {Header(10, -1, 1).U32(0x00000000).U32(0x00FFFFFF).U8(0xA5).U8(0x40).U16(0), 10, {w, k, w, k, k, w, k, w, k, w}},
  };
  for (const auto& [bytes, width, pixels] : cases) {
    EXPECT_EQ(Decoded(bytes), std::pair(width, pixels));
  }
}

TEST(Dib, DamageIsRefused) {
  const auto car = DataOf(2, IDB_CAR);
  for (std::size_t length = 0; length < car.size(); ++length) {
    EXPECT_FALSE(DecodeDib(car.first(length))) << "length " << length;
  }
  Bytes bigHeader = Header(1, 1, 24);
  bigHeader.Data()[0] = std::byte{0xFF};
  bigHeader.Data()[3] = std::byte{0x7F};
  Bytes rle = Header(1, 1, 8);
  rle.Data()[16] = std::byte{1};
  const std::pair<const char*, Bytes> cases[] = {
      {"pixel beyond the palette", Header(1, 1, 8, 2).U32(0).U32(0).U8(2).U8(0).U16(0)},
      {"header size past the end", bigHeader},
      {"palette past the end", Header(1, 1, 8, 0xFFFFFFFF)},
      {"RLE compression", rle},
      {"zero width", Header(0, 1, 24).U32(0)},
      {"negative width", Header(-1, 1, 24).U32(0)},
      {"INT_MIN height", Header(1, INT_MIN, 24).U32(0)},
      {"16 bits", Header(1, 1, 16).U32(0)},
      {"rows that would overflow 32 bits", Header(0x10000, 0x10000, 32)},
  };
  for (const auto& [what, bytes] : cases) {
    const auto image = DecodeDib(bytes.Span());
    EXPECT_FALSE(image) << what;
    EXPECT_FALSE(!image && image.error().empty()) << what;
  }
}

TEST(IconDib, MaskOrOwnAlphaMakesTheAlphaChannel) {
  const auto group = handset::res::ParseGroupIcon(DataOf(14, IDI_APP));
  ASSERT_TRUE(group);
  // The 2 x 2 image has no alpha of its own: the mask hides the top-left pixel.
  const auto small = DecodeIconDib(DataOf(3, (*group)[0].iconId));
  ASSERT_TRUE(small) << small.error();
  EXPECT_EQ(small->pixels, (std::vector<std::uint32_t>{0x00C00000, 0xFFC00001, 0xFFC00100, 0xFFC00101}));
  // The 3 x 3 one carries alpha 0x20 (x + y) + 0x1F, which wins over the mask.
  const auto large = DecodeIconDib(DataOf(3, (*group)[1].iconId));
  ASSERT_TRUE(large) << large.error();
  ASSERT_EQ(large->pixels.size(), 9U);
  EXPECT_EQ(std::make_tuple(large->width, large->pixels[5], large->pixels[8]),
            std::make_tuple(3, 0x7FC00102U, 0x9FC00202U));
}

TEST(IconDib, MissingMaskOrOddHeightIsRefused) {
  Bytes noMask = Header(1, 2, 32);
  noMask.U32(0);
  EXPECT_FALSE(DecodeIconDib(noMask.Span()));
  Bytes odd = Header(1, 3, 32);
  odd.U32(0).U32(0).U32(0).U32(0);
  EXPECT_FALSE(DecodeIconDib(odd.Span()));
  EXPECT_FALSE(handset::res::IsPng(noMask.Span()));
}

}  // namespace
