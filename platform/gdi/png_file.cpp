// libpng's simplified interface, RGB both ways.
#include "platform/gdi/png_file.h"

#include <png.h>

#include "platform/gdi/whole_file.h"

namespace handset {

bool WritePng(const Bitmap& bitmap, const std::filesystem::path& file, std::string& error) {
  std::vector<png_byte> rgb(static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height()) * 3);
  std::size_t at = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      rgb[at++] = static_cast<png_byte>(row[x] >> 16);
      rgb[at++] = static_cast<png_byte>(row[x] >> 8);
      rgb[at++] = static_cast<png_byte>(row[x]);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_RGB;
  // Encoded in memory, so the file is written only as the handset writes files.
  png_alloc_size_t size = 0;
  if (png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr) == 0) {
    error = "cannot write " + file.string() + ": " + image.message;
    return false;
  }
  std::vector<std::uint8_t> png(size);
  if (png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr) == 0) {
    error = "cannot write " + file.string() + ": " + image.message;
    return false;
  }
  png.resize(size);
  return WriteWholeFile(file, png, error);
}

std::optional<Picture> ReadPng(const std::filesystem::path& file, std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
    error = "cannot read " + file.string() + ": " + image.message;
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
    error = "cannot read " + file.string() + ": " + image.message;
    return std::nullopt;
  }
  Picture picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(rgb.size() / 3);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = (std::uint32_t{rgb[3 * i]} << 16) | (std::uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
  }
  return picture;
}

}  // namespace handset
