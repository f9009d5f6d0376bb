// Bitmaps made from decoded pixels, for loaders outside the drawing area
// (LoadBitmapW reads resource images and hands their pixels over here).
#pragma once

#include <wingdi.h>

#include <cstdint>
#include <vector>

namespace handset {

// A new bitmap of width × height holding `pixels` (row-major, top row first, each
// 0x00RRGGBB). Null when the sizes are not positive or do not match the pixel count.
HBITMAP CreateBitmapFromPixels(int width, int height, std::vector<std::uint32_t> pixels);

}  // namespace handset
