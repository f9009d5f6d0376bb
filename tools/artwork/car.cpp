// The car: a red body with a white stripe, dark glass and four tyres, nose up.
#include <cmath>
#include <numbers>

#include "pictures.h"
#include "sprite.h"

namespace artwork {

namespace {

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -std::numbers::pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, std::numbers::pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, std::numbers::pi / 2, std::numbers::pi);
  cairo_arc(cr, x + r, y + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
  cairo_close_path(cr);
}

void Fill(cairo_t* cr, double r, double g, double b) {
  cairo_set_source_rgb(cr, r / 255, g / 255, b / 255);
  cairo_fill(cr);
}

// Car coordinates: the centre at the origin, the nose towards negative y.
void DrawCar(cairo_t* cr) {
  // Tyres, tucked half under the body.
  for (const double x : {-13.0, 8.0}) {
    for (const double y : {-17.0, 7.0}) {
      RoundedRect(cr, x, y, 5, 10, 1.5);
      Fill(cr, 28, 28, 32);
    }
  }
  // Body: narrower at the nose, shaded across so it looks rounded.
  cairo_move_to(cr, -7, -20);
  cairo_curve_to(cr, -10, -20, -10.5, -16, -10.5, -12);
  cairo_line_to(cr, -10.5, 15);
  cairo_curve_to(cr, -10.5, 19, -9, 20, -6, 20);
  cairo_line_to(cr, 6, 20);
  cairo_curve_to(cr, 9, 20, 10.5, 19, 10.5, 15);
  cairo_line_to(cr, 10.5, -12);
  cairo_curve_to(cr, 10.5, -16, 10, -20, 7, -20);
  cairo_close_path(cr);
  cairo_pattern_t* shade = cairo_pattern_create_linear(-10.5, 0, 10.5, 0);
  cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.55, 0.03, 0.03);
  cairo_pattern_add_color_stop_rgb(shade, 0.35, 0.90, 0.10, 0.08);
  cairo_pattern_add_color_stop_rgb(shade, 0.65, 0.90, 0.10, 0.08);
  cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.55, 0.03, 0.03);
  cairo_set_source(cr, shade);
  cairo_fill(cr);
  cairo_pattern_destroy(shade);
  // Windscreen, roof and rear window.
  cairo_move_to(cr, -7.5, -4);
  cairo_line_to(cr, -6, -9);
  cairo_line_to(cr, 6, -9);
  cairo_line_to(cr, 7.5, -4);
  cairo_close_path(cr);
  Fill(cr, 45, 60, 85);
  RoundedRect(cr, -7, -4, 14, 11, 2);
  Fill(cr, 190, 18, 16);
  cairo_move_to(cr, -7, 7);
  cairo_line_to(cr, 7, 7);
  cairo_line_to(cr, 6, 11);
  cairo_line_to(cr, -6, 11);
  cairo_close_path(cr);
  Fill(cr, 45, 60, 85);
  // The stripe over bonnet, roof and boot.
  cairo_rectangle(cr, -1.5, -19.5, 3, 10);
  cairo_rectangle(cr, -1.5, -4, 3, 11);
  cairo_rectangle(cr, -1.5, 11.5, 3, 8);
  Fill(cr, 245, 245, 240);
  // Headlights and tail lights.
  for (const double x : {-7.5, 5.0}) {
    RoundedRect(cr, x, -19.5, 2.5, 2, 0.8);
    Fill(cr, 255, 235, 140);
    cairo_rectangle(cr, x, 18.3, 2.5, 1.4);
    Fill(cr, 120, 0, 0);
  }
}

}  // namespace

image_files::Image Car(double degrees) {
  return Render(kCarCell, kCarCell, [degrees](cairo_t* cr) {
    cairo_translate(cr, kCarCell / 2.0, kCarCell / 2.0);
    cairo_rotate(cr, degrees * std::numbers::pi / 180);
    DrawCar(cr);
  });
}

image_files::Image CarSheet() {
  image_files::Image sheet(kCarCell * kCarCells, 2 * kCarCell);
  for (int cell = 0; cell < kCarCells; ++cell) {
    const image_files::Image car = HardEdged(Car((cell - kStraightCell) * kDegreesPerCell));
    Place(sheet, OnBackground(car, 0x000000U), cell * kCarCell, 0);
    Place(sheet, OnBackground(car, 0xFFFFFFU), cell * kCarCell, kCarCell);
  }
  return sheet;
}

image_files::Image ProgramIcon(int size) {
  return Render(size, size, [size](cairo_t* cr) {
    const double scale = static_cast<double>(size) / kCarCell;
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, kCarCell / 2.0, kCarCell / 2.0);
    DrawCar(cr);
  });
}

}  // namespace artwork
