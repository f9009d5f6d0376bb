#include "sprite.h"

#include <memory>

namespace artwork {

image_files::Image Render(int width, int height, const std::function<void(cairo_t*)>& draw) {
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
  {
    const std::unique_ptr<cairo_t, decltype(&cairo_destroy)> context(cairo_create(surface.get()), cairo_destroy);
    cairo_set_antialias(context.get(), CAIRO_ANTIALIAS_GRAY);
    draw(context.get());
  }
  cairo_surface_flush(surface.get());
  image_files::Image image(width, height);
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24U;
      if (a == 0) {
        continue;
      }
      // Undo the premultiplication, rounding to nearest.
      const auto straight = [a](std::uint32_t c) { return (c * 255U + a / 2U) / a; };
      image.At(x, y) = (a << 24U) | (straight((p >> 16U) & 0xFFU) << 16U) | (straight((p >> 8U) & 0xFFU) << 8U) |
                       straight(p & 0xFFU);
    }
  }
  return image;
}

image_files::Image HardEdged(const image_files::Image& soft) {
  image_files::Image hard(soft.width, soft.height);
  for (std::size_t i = 0; i < soft.pixels.size(); ++i) {
    const std::uint32_t p = soft.pixels[i];
    if ((p >> 24U) >= 128U) {
      const std::uint32_t rgb = p & 0xFFFFFFU;
      hard.pixels[i] = 0xFF000000U | (rgb == 0 ? 0x010101U : rgb);
    }
  }
  return hard;
}

image_files::Image OnBackground(const image_files::Image& sprite, std::uint32_t background) {
  image_files::Image out(sprite.width, sprite.height);
  for (std::size_t i = 0; i < sprite.pixels.size(); ++i) {
    const std::uint32_t p = sprite.pixels[i];
    out.pixels[i] = (p >> 24U) != 0 ? p : (0xFF000000U | background);
  }
  return out;
}

void Place(image_files::Image& target, const image_files::Image& source, int x, int y) {
  for (int row = 0; row < source.height; ++row) {
    for (int column = 0; column < source.width; ++column) {
      target.At(x + column, y + row) = source.At(column, row);
    }
  }
}

}  // namespace artwork
