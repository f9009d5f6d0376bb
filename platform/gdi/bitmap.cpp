// Bitmaps and the hand-over of decoded pixels.
#include "platform/gdi/bitmap.h"

#include "platform/gdi/bitmap_factory.h"
#include "platform/handset/handset.h"

namespace handset {

Bitmap::Bitmap(int width, int height, std::vector<std::uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

std::shared_ptr<Bitmap> BitmapFromHandle(HGDIOBJ handle) { return TheHandset().objects.Find<Bitmap>(handle); }

HBITMAP CreateBitmapFromPixels(int width, int height, std::vector<std::uint32_t> pixels) {
  if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxBitmapPixels ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return nullptr;
  }
  return TheHandset().objects.Add(std::make_shared<Bitmap>(width, height, std::move(pixels)));
}

}  // namespace handset
