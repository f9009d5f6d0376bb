// A picture as PNG bytes: 8-bit RGB, its image data deflate-stored (not compressed), as
// no zlib comes with the DLL; every PNG reader takes stored blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sensor_dll {

// `rgb` holds `width` x `height` pixels, three bytes each, rows top down.
std::string PngOf(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace sensor_dll
