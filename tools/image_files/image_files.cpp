#include "image_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace image_files {

namespace {

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8U));
}

void Put32(Bytes& out, unsigned value) {
  Put16(out, value & 0xFFFFU);
  Put16(out, value >> 16U);
}

void InfoHeader(Bytes& out, int width, int height, unsigned bits) {
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(width));
  Put32(out, static_cast<unsigned>(height));
  Put16(out, 1);
  Put16(out, bits);
  for (int i = 0; i < 6; ++i) {
    Put32(out, 0);
  }
}

// The pixels and the AND mask of one icon image, as the ICO directory points at them.
Bytes IconDib(const IconImage& icon) {
  const Image& image = icon.colours;
  Bytes dib;
  InfoHeader(dib, image.width, 2 * image.height, 32);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      dib.insert(dib.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8U),
                             static_cast<std::uint8_t>(p >> 16U), static_cast<std::uint8_t>(p >> 24U)});
    }
  }
  const int rowBytes = (image.width + 31) / 32 * 4;
  for (int y = image.height - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>(rowBytes), 0);
    for (int x = 0; x < image.width; ++x) {
      if (icon.masked[image.Index(x, y)]) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
      }
    }
    dib.insert(dib.end(), row.begin(), row.end());
  }
  return dib;
}

}  // namespace

Bytes BmpFile(const Image& image) {
  Bytes dib;
  InfoHeader(dib, image.width, image.height, 24);
  const int padding = (4 - image.width * 3 % 4) % 4;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.At(x, y);
      dib.insert(dib.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8U),
                             static_cast<std::uint8_t>(p >> 16U)});
    }
    dib.insert(dib.end(), static_cast<std::size_t>(padding), 0);
  }
  Bytes file{'B', 'M'};
  Put32(file, static_cast<unsigned>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, 14 + 40);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

Bytes IcoFile(const std::vector<IconImage>& images) {
  std::vector<Bytes> dibs;
  dibs.reserve(images.size());
  for (const IconImage& image : images) {
    dibs.push_back(IconDib(image));
  }
  Bytes file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<unsigned>(images.size()));
  auto offset = static_cast<unsigned>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const Image& image = images[i].colours;
    // The directory stores 256 as 0.
    file.push_back(static_cast<std::uint8_t>(image.width));
    file.push_back(static_cast<std::uint8_t>(image.height));
    file.insert(file.end(), {0, 0});
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<unsigned>(dibs[i].size()));
    Put32(file, offset);
    offset += static_cast<unsigned>(dibs[i].size());
  }
  for (const Bytes& dib : dibs) {
    file.insert(file.end(), dib.begin(), dib.end());
  }
  return file;
}

IconImage WithAlphaMask(const Image& image) {
  IconImage icon{image, std::vector<bool>(image.pixels.size())};
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    icon.masked[i] = (image.pixels[i] >> 24U) == 0;
  }
  return icon;
}

bool WriteFile(const std::string& path, const Bytes& bytes, std::string& error) {
  const std::string temporary = path + ".tmp";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = path + ": " + std::strerror(errno);
    (void)std::remove(temporary.c_str());  // best effort: the write's failure is the one to tell
    return false;
  }
  return true;
}

}  // namespace image_files
