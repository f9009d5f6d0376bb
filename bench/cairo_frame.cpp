// The same kind of frame drawn with cairo, for comparison: grass copy, 13 road segments
// of three 33-pixel round-ended strokes, five sprites, four HUD strings, the dial and its
// needle, the playfield copy. Built with -DVIRETA_BENCH_CAIRO=ON.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>

namespace {

struct Surface {
  explicit Surface(int width, int height) : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)) {}
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() { cairo_surface_destroy(surface); }
  cairo_surface_t* surface;
};

struct Context {
  explicit Context(const Surface& target) : cr(cairo_create(target.surface)) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
  ~Context() { cairo_destroy(cr); }
  cairo_t* cr;
};

void Fill(const Surface& surface, double r, double g, double b, double a) {
  const Context c(surface);
  cairo_set_source_rgba(c.cr, r, g, b, a);
  cairo_paint(c.cr);
}

void CairoFrame(benchmark::State& state) {
  const int width = 480;
  const int clientHeight = static_cast<int>(state.range(0)) - 2 * 52;
  const int playfield = clientHeight - 200;
  const Surface background(width, playfield);
  const Surface frame(width, playfield);
  const Surface screen(width, clientHeight);
  const Surface sprite(48, 48);
  const Surface dial(64, 64);
  Fill(background, 0.2, 0.78, 0.31, 1.0);
  Fill(sprite, 0.8, 0.1, 0.1, 0.9);
  Fill(dial, 0.8, 0.1, 0.8, 1.0);
  int scroll = 0;
  for (auto _ : state) {
    const Context f(frame);
    cairo_set_operator(f.cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(f.cr, background.surface, 0, 0);
    cairo_paint(f.cr);
    cairo_set_operator(f.cr, CAIRO_OPERATOR_OVER);
    cairo_set_line_width(f.cr, 33);
    cairo_set_line_cap(f.cr, CAIRO_LINE_CAP_ROUND);
    for (int segment = 0; segment < 13; ++segment) {
      const double y = 10 + 40 * segment - scroll % 40;
      const double x0 = 140 + 30 * std::sin(segment * 0.4);
      const double x1 = 140 + 30 * std::sin((segment + 1) * 0.4);
      cairo_set_source_rgb(f.cr, segment == 6 ? 0.6 : 0.47, 0.47, 0.47);
      cairo_move_to(f.cr, x0, y);
      cairo_line_to(f.cr, x0 + 200, y);
      cairo_line_to(f.cr, x1 + 200, y + 40);
      cairo_move_to(f.cr, x0, y);
      cairo_line_to(f.cr, x1, y + 40);
      cairo_stroke(f.cr);
    }
    for (int i = 0; i < 5; ++i) {
      cairo_set_source_surface(f.cr, sprite.surface, 100 + 50 * i, 240);
      cairo_paint(f.cr);
    }
    const Context s(screen);
    cairo_select_font_face(s.cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(s.cr, 24);
    const char* const texts[] = {"Tiempo:           ", "12.35", "Record:", "99.00"};
    for (int i = 0; i < 4; ++i) {
      cairo_set_source_rgb(s.cr, 0, 0, 0);
      cairo_rectangle(s.cr, i % 2 == 0 ? 10 : 120, clientHeight - (i < 2 ? 50 : 100), 200, 30);
      cairo_fill(s.cr);
      cairo_set_source_rgb(s.cr, 0.39, 0.39, 0);
      cairo_move_to(s.cr, i % 2 == 0 ? 10 : 120, clientHeight - (i < 2 ? 50 : 100) + 24);
      cairo_show_text(s.cr, texts[i]);
    }
    cairo_set_source_surface(s.cr, dial.surface, width - 72, clientHeight - 72);
    cairo_paint(s.cr);
    cairo_set_source_rgb(s.cr, 0.78, 0.78, 0.59);
    cairo_set_line_width(s.cr, 2);
    cairo_move_to(s.cr, width - 40, clientHeight - 40);
    cairo_line_to(s.cr, width - 40 + 21, clientHeight - 40 - 21);
    cairo_stroke(s.cr);
    cairo_set_operator(s.cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(s.cr, frame.surface, 0, 0);
    cairo_rectangle(s.cr, 0, 0, width, playfield);
    cairo_fill(s.cr);
    cairo_surface_flush(screen.surface);
    benchmark::ClobberMemory();
    scroll += 7;
  }
}
BENCHMARK(CairoFrame)->Arg(640)->Arg(800)->Unit(benchmark::kMicrosecond);

}  // namespace
