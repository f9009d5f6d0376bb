// libpng's simplified interface, RGB both ways.
#include "platform/gdi/png_file.h"

#include <png.h>

#include <system_error>

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
  std::filesystem::path temporary = file;
  temporary += ".part";
  if (png_image_write_to_file(&image, temporary.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
    error = "cannot write " + file.string() + ": " + image.message;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  std::error_code failed;
  std::filesystem::rename(temporary, file, failed);
  if (failed) {
    error = "cannot write " + file.string() + ": " + failed.message();
    std::filesystem::remove(temporary, failed);
    return false;
  }
  return true;
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
