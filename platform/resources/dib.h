// Device-independent bitmaps as resources hold them (a BITMAPINFOHEADER, a palette for
// 8 bits or fewer, then rows padded to a DWORD), decoded to 32-bit pixels top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/resources/parsed.h"

namespace handset::res {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width × height, row-major, top row first
};

// Images of more pixels than this are refused (the handset's bitmap limit).
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 27;

// An RT_BITMAP: BI_RGB at 1, 4, 8, 24 or 32 bits, bottom-up or top-down; pixels 0x00RRGGBB.
Parsed<Image> DecodeDib(std::span<const std::byte> data);

// An RT_ICON image in DIB form: the header counts both the colour rows and the AND
// mask below them. Pixels 0xAARRGGBB: a 32-bit image's own alpha when it has any,
// else opaque where the mask is clear.
Parsed<Image> DecodeIconDib(std::span<const std::byte> data);

// Icon images may also be whole PNG files.
bool IsPng(std::span<const std::byte> data);

}  // namespace handset::res
