// Writes the images test.rc names, in known patterns the tests check pixel by pixel:
// car.bmp, a 3 x 2 24-bit bitmap (odd width, so every row is padded), and app.ico,
// a 2 x 2 icon with an AND mask and a larger 3 x 3 one with its own alpha.
#include <cstdint>
#include <cstdio>
#include <string>

#include "image_files.h"

namespace {

image_files::Image Bitmap() {
  image_files::Image image(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      image.At(x, y) =
          (static_cast<std::uint32_t>(0x10 * x + 1) << 16U) | (static_cast<std::uint32_t>(0x20 * y + 2) << 8U) | 0x33U;
    }
  }
  return image;
}

// Alpha 0 everywhere leaves transparency to the AND mask, which hides the top-left pixel.
image_files::IconImage IconImage(int size, bool ownAlpha) {
  image_files::IconImage icon{image_files::Image(size, size), std::vector<bool>(static_cast<std::size_t>(size * size))};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const auto alpha = static_cast<std::uint32_t>(ownAlpha ? 0x20 * (x + y) + 0x1F : 0);
      icon.colours.At(x, y) =
          (alpha << 24U) | 0xC00000U | (static_cast<std::uint32_t>(y) << 8U) | static_cast<std::uint32_t>(x);
    }
  }
  icon.masked[0] = true;
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  const std::string folder = argv[1];
  std::string error;
  if (!image_files::WriteFile(folder + "/car.bmp", image_files::BmpFile(Bitmap()), error) ||
      !image_files::WriteFile(folder + "/app.ico", image_files::IcoFile({IconImage(2, false), IconImage(3, true)}),
                              error)) {
    std::fprintf(stderr, "make_test_images: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
