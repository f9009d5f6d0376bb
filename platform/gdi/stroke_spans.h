// Row spans of wide strokes, kept by shape: a stroke's pixels depend only on its
// direction and width once it is moved by whole pixels, and a game draws the same few
// shapes every frame.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Two shapes a set, the least recently used giving way. A new shape takes over its slot's
// storage, so a program drawing ever new shapes neither grows the cache nor, once every
// slot has held a long stroke, allocates.
struct StrokeSpanCache {
  static constexpr std::size_t kSets = 256;
  struct Slot {
    bool used = false;
    StrokeShape shape;
    StrokeSpans spans;
  };
  struct Set {
    Slot ways[2];
    std::size_t recent = 0;  // the way used last
  };
  std::vector<Set> sets = std::vector<Set>(kSets);
};

}  // namespace handset
