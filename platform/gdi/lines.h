// Line rasterisation in device coordinates, clipped to the target.
#pragma once

#include <cstdint>

#include "platform/gdi/raster.h"

namespace handset {

// A one-pixel line from (x0, y0) towards (x1, y1), the end point left out.
void DrawCosmeticLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::uint32_t pixel);

// A line `width` (2 or more) pixels thick with round ends: a pixel is covered when its
// centre lies within width / 2 of the segment. The segment runs through pixel centres
// for odd widths and along pixel corners for even ones, so a horizontal line covers
// rows y - width / 2 to y - width / 2 + width - 1.
void DrawWideLine(const Target& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  std::int64_t width, std::uint32_t pixel);

}  // namespace handset
