// Clipped fills.
#include "platform/gdi/raster.h"

#include <algorithm>

namespace handset {

void FillBox(const Target& target, const Box& box, std::uint32_t pixel) {
  if (!target.draw) {
    return;
  }
  for (const Box& clip : target.clips) {
    const Box cut = Intersect(box, clip);
    if (cut.Empty()) {
      continue;
    }
    const auto width = static_cast<std::size_t>(cut.right - cut.left);
    for (auto y = cut.top; y < cut.bottom; ++y) {
      std::fill_n(target.bitmap->Row(static_cast<int>(y)) + cut.left, width, pixel);
    }
  }
}

void FillSpan(const Target& target, std::int64_t y, std::int64_t x0, std::int64_t x1, std::uint32_t pixel) {
  if (!target.draw) {
    return;
  }
  for (const Box& clip : target.clips) {
    if (y < clip.top || y >= clip.bottom) {
      continue;
    }
    const auto left = std::max(x0, clip.left);
    const auto right = std::min(x1, clip.right);
    if (left < right) {
      std::fill_n(target.bitmap->Row(static_cast<int>(y)) + left, static_cast<std::size_t>(right - left), pixel);
    }
  }
}

void PutPixel(const Target& target, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
  FillSpan(target, y, x, x + 1, pixel);
}

}  // namespace handset
