// Row spans of wide strokes, kept by shape: a stroke's pixels depend only on its
// direction and width once it is moved by whole pixels, and a game draws the same few
// shapes every frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace handset {

struct StrokeShape {
  std::int64_t dx = 0;
  std::int64_t dy = 0;
  std::int64_t width = 0;
  bool operator==(const StrokeShape&) const = default;
};

struct StrokeShapeHash {
  std::size_t operator()(const StrokeShape& shape) const {
    const auto mix = [](std::uint64_t h, std::int64_t v) {
      return (h ^ static_cast<std::uint64_t>(v)) * 0x100000001B3ULL;
    };
    return static_cast<std::size_t>(mix(mix(mix(0xCBF29CE484222325ULL, shape.dx), shape.dy), shape.width));
  }
};

// Relative to the stroke's start pixel: row `top + i` covers columns
// spans[i].first ..< spans[i].second (empty when first >= second).
struct StrokeSpans {
  std::int64_t top = 0;
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
};

struct StrokeSpanCache {
  // Beyond this many shapes the cache starts again: a program drawing ever new shapes
  // gets no benefit and must not grow it without bound.
  static constexpr std::size_t kLimit = 512;
  std::unordered_map<StrokeShape, StrokeSpans, StrokeShapeHash> shapes;
};

}  // namespace handset
