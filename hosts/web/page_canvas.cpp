#include "page_canvas.h"

#include "page_bridge.h"

namespace web {

void PageCanvas::Show(const handset::host::ScreenPixels& screen) {
  // Canvas pixels are R, G, B, A in memory: one little-endian word each.
  next_.clear();
  next_.reserve(static_cast<std::size_t>(screen.width) * static_cast<std::size_t>(screen.height));
  for (int y = 0; y < screen.height; ++y) {
    const std::uint32_t* row = screen.Row(y);
    for (int x = 0; x < screen.width; ++x) {
      const std::uint32_t pixel = row[x];
      next_.push_back(0xFF000000U | ((pixel & 0xFFU) << 16) | (pixel & 0xFF00U) | ((pixel >> 16) & 0xFFU));
    }
  }
  if (next_ != shown_) {
    shown_.swap(next_);
    ShowOnPage(reinterpret_cast<const std::uint8_t*>(shown_.data()), screen.width, screen.height);
  }
}

}  // namespace web
