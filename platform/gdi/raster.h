// Pixel writing shared by every drawing call: boxes and row spans in device
// coordinates, cut against the clip rectangles before any pixel is touched. 64-bit
// coordinates, so that no sum of 32-bit inputs can overflow on the way.
#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/bitmap.h"

namespace handset {

// Right and bottom excluded.
struct Box {
  std::int64_t left;
  std::int64_t top;
  std::int64_t right;
  std::int64_t bottom;

  bool Empty() const { return left >= right || top >= bottom; }
};

constexpr Box Intersect(const Box& a, const Box& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
          a.bottom < b.bottom ? a.bottom : b.bottom};
}

// Where drawing may land: a bitmap and the clip boxes inside it (device coordinates,
// each already within the bitmap's bounds). With `draw` off every loop that would write
// its pixels is skipped, and only them (see Handset::drawPixels).
struct Target {
  Bitmap* bitmap;
  std::span<const Box> clips;
  bool draw = true;
};

void FillBox(const Target& target, const Box& box, std::uint32_t pixel);
// Pixels x0 <= x < x1 of row y.
void FillSpan(const Target& target, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel);
void PutPixel(const Target& target, std::int64_t x, std::int64_t y, std::uint32_t pixel);

}  // namespace handset
