// The speed dial: magenta face, blue rim, ticks every ten, figures every fifty, a grey
// hub. A full turn is 200, so 0 is at the top and 50 to the right.
#include <cmath>
#include <numbers>
#include <string>

#include "pictures.h"
#include "sprite.h"

namespace artwork {

namespace {

constexpr double kCentre = 32.0;  // the needle's pivot, between pixels 31 and 32

void Figure(cairo_t* cr, const std::string& text, double angle, double radius) {
  cairo_text_extents_t extents{};
  cairo_text_extents(cr, text.c_str(), &extents);
  const double x = kCentre + radius * std::sin(angle);
  const double y = kCentre - radius * std::cos(angle);
  cairo_move_to(cr, x - extents.width / 2 - extents.x_bearing, y - extents.height / 2 - extents.y_bearing);
  cairo_show_text(cr, text.c_str());
}

}  // namespace

image_files::Image DialFace() {
  constexpr int kSize = 64;
  const image_files::Image face = Render(kSize, kSize, [](cairo_t* cr) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_arc(cr, kCentre, kCentre, 30, 0, 2 * std::numbers::pi);
    cairo_set_source_rgb(cr, 0.78, 0.05, 0.70);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 3);
    cairo_set_source_rgb(cr, 0.12, 0.20, 0.85);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 1, 0.95, 1);
    for (int tick = 0; tick < 20; ++tick) {
      const double angle = tick * std::numbers::pi / 10;
      const bool major = tick % 5 == 0;
      const double inner = major ? 22.0 : 25.0;
      cairo_move_to(cr, kCentre + inner * std::sin(angle), kCentre - inner * std::cos(angle));
      cairo_line_to(cr, kCentre + 28 * std::sin(angle), kCentre - 28 * std::cos(angle));
      cairo_set_line_width(cr, major ? 2.0 : 1.0);
      cairo_stroke(cr);
    }
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 8);
    Figure(cr, "0", 0, 15);
    Figure(cr, "50", std::numbers::pi / 2, 14);
    Figure(cr, "100", std::numbers::pi, 15);
    Figure(cr, "150", 3 * std::numbers::pi / 2, 15);
    cairo_arc(cr, kCentre, kCentre, 4, 0, 2 * std::numbers::pi);
    cairo_set_source_rgb(cr, 0.60, 0.60, 0.62);
    cairo_fill(cr);
  });
  return OnBackground(face, 0x000000U);
}

}  // namespace artwork
