// Windows image files as resource scripts name them: 24-bit BMP and ICO with 32-bit
// images and AND masks. Build tools write them; nothing at run time does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace image_files {

using Bytes = std::vector<std::uint8_t>;

// Pixels 0xAARRGGBB, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Image() = default;
  Image(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(Index(0, h), fill) {}
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
  }
  std::uint32_t& At(int x, int y) { return pixels[Index(x, y)]; }
  std::uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
};

// One image of an icon: its colours with alpha, and the AND mask (true hides the pixel).
struct IconImage {
  Image colours;
  std::vector<bool> masked;  // width × height, top row first
};

// A 24-bit bottom-up BMP file; alpha is dropped.
Bytes BmpFile(const Image& image);
// An ICO file holding `images` in that order, each 32 bits per pixel.
Bytes IcoFile(const std::vector<IconImage>& images);
// The mask that hides exactly the fully transparent pixels.
IconImage WithAlphaMask(const Image& image);

// Writes through a temporary file renamed into place, so a failed run leaves no torn
// file behind. False with `error` set on failure.
bool WriteFile(const std::string& path, const Bytes& bytes, std::string& error);

}  // namespace image_files
