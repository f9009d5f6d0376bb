// The program's icon as a PNG with its transparency, for desktops that list programs.
#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "pictures.h"

namespace artwork {

bool WriteIconPng(const std::string& path, int size, std::string& error) {
  const image_files::Image icon = ProgramIcon(size);
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, icon.width, icon.height), cairo_surface_destroy);
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  if (data == nullptr) {
    error = path + ": cannot make the icon";
    return false;
  }
  for (int y = 0; y < icon.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < icon.width; ++x) {
      // cairo keeps colours premultiplied by their alpha.
      const std::uint32_t pixel = icon.At(x, y);
      const std::uint32_t alpha = pixel >> 24U;
      const auto scaled = [alpha](std::uint32_t channel) { return (channel * alpha + 127U) / 255U; };
      row[x] = (alpha << 24U) | (scaled((pixel >> 16U) & 0xFFU) << 16U) | (scaled((pixel >> 8U) & 0xFFU) << 8U) |
               scaled(pixel & 0xFFU);
    }
  }
  cairo_surface_mark_dirty(surface.get());
  const std::string temporary = path + ".part";
  if (cairo_surface_write_to_png(surface.get(), temporary.c_str()) != CAIRO_STATUS_SUCCESS ||
      std::rename(temporary.c_str(), path.c_str()) != 0) {
    (void)std::remove(temporary.c_str());  // best effort: the write's failure is the one to tell
    error = path + ": cannot write the icon";
    return false;
  }
  return true;
}

}  // namespace artwork
