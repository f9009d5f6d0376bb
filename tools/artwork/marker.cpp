// The roadside marker: a teal disc, lighter towards the centre.
#include <numbers>

#include "pictures.h"
#include "sprite.h"

namespace artwork {

image_files::Image MarkerSprite() {
  constexpr int kSize = 24;
  const image_files::Image disc = HardEdged(Render(kSize, kSize, [](cairo_t* cr) {
    cairo_arc(cr, kSize / 2.0, kSize / 2.0, 10.5, 0, 2 * std::numbers::pi);
    cairo_pattern_t* glow = cairo_pattern_create_radial(10.5, 10.5, 1, 12, 12, 10.5);
    cairo_pattern_add_color_stop_rgb(glow, 0.0, 0.70, 0.98, 0.94);
    cairo_pattern_add_color_stop_rgb(glow, 0.45, 0.20, 0.75, 0.72);
    cairo_pattern_add_color_stop_rgb(glow, 1.0, 0.0, 0.45, 0.45);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
  }));
  image_files::Image sprite(kSize, 2 * kSize);
  Place(sprite, OnBackground(disc, 0x000000U), 0, 0);
  image_files::Image mask(kSize, kSize);
  for (std::size_t i = 0; i < disc.pixels.size(); ++i) {
    mask.pixels[i] = (disc.pixels[i] >> 24U) != 0 ? 0xFF000000U : 0xFFFFFFFFU;
  }
  Place(sprite, mask, 0, kSize);
  return sprite;
}

}  // namespace artwork
