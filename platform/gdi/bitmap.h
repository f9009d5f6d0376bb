// A bitmap: a block of 32-bit pixels, 0x00RRGGBB, rows top first. Device contexts draw
// into the one they hold; the PNG writer and tests read it back.
#pragma once

#include <wingdi.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/gdi_objects.h"

namespace handset {

class Bitmap : public GdiObject {
 public:
  Bitmap(int width, int height, std::vector<std::uint32_t> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }
  const std::uint32_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }
  // The pixel at (x, y), which must lie inside.
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }

 private:
  std::size_t Stride() const { return static_cast<std::size_t>(width_); }
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// Pixels per bitmap at most (512 MiB of them): a larger request fails like an
// allocation failure instead of taking the machine's memory.
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 27;

// The bitmap behind an HBITMAP, or null.
std::shared_ptr<Bitmap> BitmapFromHandle(HGDIOBJ handle);

// 0x00BBGGRR (COLORREF) to 0x00RRGGBB (pixel) and back.
constexpr std::uint32_t PixelOf(COLORREF colour) {
  return ((colour & 0xFFU) << 16) | (colour & 0xFF00U) | ((colour >> 16) & 0xFFU);
}
constexpr COLORREF ColourOf(std::uint32_t pixel) { return PixelOf(pixel); }

}  // namespace handset
