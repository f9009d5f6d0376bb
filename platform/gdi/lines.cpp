// Lines: a stepping rule for thin pens, row spans of a round-ended stroke for wide ones.
#include "platform/gdi/lines.h"

#include "platform/gdi/gdi_state.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace handset {

namespace {

// Squares of half-unit distances overflow 64 bits.
__extension__ using Wide = __int128;

// Rows and columns any clip box reaches.
Box ClipBounds(const Target& target) {
  Box all{std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(),
          std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min()};
  for (const Box& clip : target.clips) {
    all = {std::min(all.left, clip.left), std::min(all.top, clip.top), std::max(all.right, clip.right),
           std::max(all.bottom, clip.bottom)};
  }
  return all;
}

// Floor and ceiling of a / b for b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The stroke in half-pixel units: pixel (px, py) has its centre at (2px + 1, 2py + 1).
struct Stroke {
  std::int64_t ax, ay, bx, by, radius;
  std::int64_t dx, dy;
  bool exact;  // small enough for the integer test
  // Fixed per stroke, for the per-row spans.
  double length = 0;
  double inverseDx = 0;
  double inverseDy = 0;

  void Prepare() {
    const double fx = static_cast<double>(dx);
    const double fy = static_cast<double>(dy);
    length = std::sqrt(fx * fx + fy * fy);
    inverseDx = dx != 0 ? 1.0 / fx : 0.0;
    inverseDy = dy != 0 ? 1.0 / fy : 0.0;
  }

  // Exactly: is the point (p, q) within `radius` of the segment?
  bool Covers(std::int64_t p, std::int64_t q) const {
    const Wide ux = p - ax;
    const Wide uy = q - ay;
    const Wide squared = Wide{dx} * dx + Wide{dy} * dy;
    const Wide along = ux * dx + uy * dy;
    const Wide r2 = Wide{radius} * radius;
    if (squared == 0 || along <= 0) {
      return ux * ux + uy * uy <= r2;
    }
    if (along >= squared) {
      const Wide vx = p - bx;
      const Wide vy = q - by;
      return vx * vx + vy * vy <= r2;
    }
    const Wide cross = ux * dy - uy * dx;
    return cross * cross <= r2 * squared;
  }

  // The interval of x (half units, continuous) covered on the row at q; lo > hi when
  // there is none.
  void Span(double q, double& lo, double& hi) const {
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    const double r = static_cast<double>(radius);
    const auto cap = [&](std::int64_t cx, std::int64_t cy) {
      const double v = q - static_cast<double>(cy);
      if (std::fabs(v) <= r) {
        const double half = std::sqrt(r * r - v * v);
        lo = std::min(lo, static_cast<double>(cx) - half);
        hi = std::max(hi, static_cast<double>(cx) + half);
      }
    };
    cap(ax, ay);
    cap(bx, by);
    if (dx == 0 && dy == 0) {
      return;
    }
    const double fx = static_cast<double>(dx);
    const double fy = static_cast<double>(dy);
    const double v = q - static_cast<double>(ay);
    // Between the two end normals ...
    double from = -std::numeric_limits<double>::infinity();
    double to = -from;
    if (dx != 0) {
      const double e0 = (0.0 - v * fy) * inverseDx;
      const double e1 = (length * length - v * fy) * inverseDx;
      from = std::min(e0, e1);
      to = std::max(e0, e1);
    } else if (v * fy < 0.0 || v * fy > length * length) {
      return;
    }
    // ... and within the radius of the line through the segment.
    if (dy != 0) {
      const double s0 = (fx * v - r * length) * inverseDy;
      const double s1 = (fx * v + r * length) * inverseDy;
      from = std::max(from, std::min(s0, s1));
      to = std::min(to, std::max(s0, s1));
    } else if (std::fabs(v) > r) {
      return;
    }
    if (from <= to) {
      lo = std::min(lo, static_cast<double>(ax) + from);
      hi = std::max(hi, static_cast<double>(ax) + to);
    }
  }
};

// Floor of x for |x| < 2^62, without a library call on the per-row path.
double Floor(double x) {
  const auto whole = static_cast<double>(static_cast<std::int64_t>(x));
  return whole > x ? whole - 1.0 : whole;
}

// Pixel columns from a half-unit interval, kept inside [min, max].
std::int64_t Column(double half, std::int64_t min, std::int64_t max, bool up) {
  const double offset = (half - 1.0) / 2.0;
  if (!(offset >= static_cast<double>(min))) {
    return min;
  }
  if (offset > static_cast<double>(max)) {
    return max;
  }
  const double below = Floor(offset);
  return static_cast<std::int64_t>(up && below < offset ? below + 1.0 : below);
}

// Whether a half-unit position lies so close to a pixel centre (an odd number) that
// the floating-point span may have put it on the wrong side.
bool NearCentre(double half) {
  const double offset = (half - 1.0) / 2.0;
  if (!(std::fabs(offset) < 0x1p60)) {
    return false;  // beyond any canvas: clamped anyway
  }
  const double fraction = offset - Floor(offset);
  const double tolerance = 1e-6 * (1.0 + std::fabs(offset));
  return fraction < tolerance || fraction > 1.0 - tolerance;
}

}  // namespace

void DrawCosmeticLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::uint32_t pixel) {
  if (!target.draw) {
    return;
  }
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (steps == 0) {
    return;
  }
  const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const std::int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t start = xMajor ? x0 : y0;
  // Only the steps whose major coordinate lies in the clip's extent can draw.
  const Box bounds = ClipBounds(target);
  const std::int64_t low = xMajor ? bounds.left : bounds.top;
  const std::int64_t high = (xMajor ? bounds.right : bounds.bottom) - 1;
  std::int64_t first = majorSign > 0 ? low - start : start - high;
  std::int64_t last = majorSign > 0 ? high - start : start - low;
  first = std::max<std::int64_t>(first, 0);
  last = std::min(last, steps - 1);
  for (std::int64_t k = first; k <= last; ++k) {
    const auto offset = static_cast<std::int64_t>((Wide{2} * k * minor + steps) / (Wide{2} * steps));
    const std::int64_t major = start + majorSign * k;
    const std::int64_t other = (xMajor ? y0 : x0) + minorSign * offset;
    if (xMajor) {
      PutPixel(target, major, other, pixel);
    } else {
      PutPixel(target, other, major, pixel);
    }
  }
}

namespace {

Stroke MakeStroke(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, std::int64_t width) {
  const std::int64_t shift = width % 2;
  Stroke stroke{2 * x0 + shift, 2 * y0 + shift, 2 * x1 + shift, 2 * y1 + shift, width, 0, 0, false};
  stroke.dx = stroke.bx - stroke.ax;
  stroke.dy = stroke.by - stroke.ay;
  constexpr std::int64_t kExactLimit = std::int64_t{1} << 27;
  stroke.exact = std::max<std::int64_t>({std::llabs(stroke.ax), std::llabs(stroke.ay), std::llabs(stroke.bx),
                                         std::llabs(stroke.by), width}) <= kExactLimit;
  stroke.Prepare();
  return stroke;
}

// Calls `row(y, left, right)` for every row from `top` to `bottom` the stroke reaches,
// columns kept within [minColumn, maxColumn] (one beyond the clip on either side).
template <typename Row>
void EachRow(const Stroke& stroke, std::int64_t top, std::int64_t bottom, std::int64_t minColumn,
             std::int64_t maxColumn, Row&& row) {
  const std::int64_t reach = stroke.radius + 1;
  top = std::max(top, CeilDiv(std::min(stroke.ay, stroke.by) - reach - 1, 2));
  bottom = std::min(bottom, FloorDiv(std::max(stroke.ay, stroke.by) + reach - 1, 2));
  for (std::int64_t y = top; y <= bottom; ++y) {
    const std::int64_t q = 2 * y + 1;
    double lo = 0;
    double hi = 0;
    stroke.Span(static_cast<double>(q), lo, hi);
    std::int64_t left = Column(lo, minColumn, maxColumn, true);
    std::int64_t right = Column(hi, minColumn, maxColumn, false);
    // Rounding in the square roots may misplace an end that lies next to a pixel
    // centre; there the integer test settles it.
    if (stroke.exact && NearCentre(lo)) {
      while (left > minColumn && stroke.Covers(2 * (left - 1) + 1, q)) {
        --left;
      }
      while (left <= right && !stroke.Covers(2 * left + 1, q)) {
        ++left;
      }
    }
    if (stroke.exact && NearCentre(hi)) {
      while (right < maxColumn && stroke.Covers(2 * (right + 1) + 1, q)) {
        ++right;
      }
      while (right >= left && !stroke.Covers(2 * right + 1, q)) {
        --right;
      }
    }
    row(y, left, right);
  }
}

// Shapes up to this size are kept; their spans are exact wherever they are drawn.
constexpr std::int64_t kCachedReach = 4096;

const StrokeSpans& SpansOf(const StrokeShape& shape) {
  StrokeSpanCache::Set& set = Gdi().strokeSpans.sets[StrokeShapeHash{}(shape) % StrokeSpanCache::kSets];
  for (std::size_t way = 0; way < 2; ++way) {
    if (set.ways[way].used && set.ways[way].shape == shape) {
      set.recent = way;
      return set.ways[way].spans;
    }
  }
  set.recent = 1 - set.recent;
  StrokeSpanCache::Slot& slot = set.ways[set.recent];
  slot.used = true;
  slot.shape = shape;
  StrokeSpans& spans = slot.spans;
  spans.top = 0;
  spans.spans.clear();
  const std::int64_t margin = shape.width + 2;
  spans.spans.reserve(static_cast<std::size_t>(std::llabs(shape.dy) + 2 * margin + 1));
  const Stroke stroke = MakeStroke(0, 0, shape.dx, shape.dy, shape.width);
  const std::int64_t minColumn = std::min<std::int64_t>(0, shape.dx) - margin;
  const std::int64_t maxColumn = std::max<std::int64_t>(0, shape.dx) + margin;
  bool first = true;
  EachRow(stroke, std::min<std::int64_t>(0, shape.dy) - margin, std::max<std::int64_t>(0, shape.dy) + margin, minColumn,
          maxColumn, [&](std::int64_t y, std::int64_t left, std::int64_t right) {
            if (first) {
              spans.top = y;
              first = false;
            }
            spans.spans.emplace_back(left, right + 1);
          });
  return spans;
}

}  // namespace

void DrawWideLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  std::int64_t width, std::uint32_t pixel) {
  const Box bounds = ClipBounds(target);
  if (bounds.Empty() || !target.draw) {
    return;
  }
  const Stroke stroke = MakeStroke(x0, y0, x1, y1, width);
  const StrokeShape shape{x1 - x0, y1 - y0, width};
  if (stroke.exact && std::llabs(shape.dx) <= kCachedReach && std::llabs(shape.dy) <= kCachedReach &&
      width <= kCachedReach) {
    const StrokeSpans& spans = SpansOf(shape);
    const std::int64_t from = std::max<std::int64_t>(0, bounds.top - y0 - spans.top);
    const auto to =
        std::min<std::int64_t>(static_cast<std::int64_t>(spans.spans.size()), bounds.bottom - y0 - spans.top);
    for (std::int64_t i = from; i < to; ++i) {
      const auto& [left, right] = spans.spans[static_cast<std::size_t>(i)];
      if (left < right) {
        FillSpan(target, y0 + spans.top + i, x0 + left, x0 + right, pixel);
      }
    }
    return;
  }
  EachRow(stroke, bounds.top, bounds.bottom - 1, bounds.left - 1, bounds.right,
          [&](std::int64_t y, std::int64_t left, std::int64_t right) {
            if (left <= right) {
              FillSpan(target, y, left, right + 1, pixel);
            }
          });
}

}  // namespace handset
