// Writes the images test.rc names, in known patterns the tests check pixel by pixel:
// car.bmp, a 3 x 2 24-bit bitmap (odd width, so every row is padded), and app.ico,
// a 2 x 2 icon with an AND mask and a larger 3 x 3 one with its own alpha.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8U));
}
void Put32(Bytes& out, unsigned value) {
  Put16(out, value & 0xFFFFU);
  Put16(out, value >> 16U);
}

void InfoHeader(Bytes& out, unsigned width, unsigned height, unsigned bits) {
  for (const unsigned v : {40U, width, height}) {
    Put32(out, v);
  }
  Put16(out, 1);
  Put16(out, bits);
  for (int i = 0; i < 6; ++i) {
    Put32(out, 0);
  }
}

Bytes Bitmap() {
  Bytes dib;
  InfoHeader(dib, 3, 2, 24);
  for (unsigned row = 0; row < 2; ++row) {
    const unsigned y = 1 - row;  // bottom-up
    for (unsigned x = 0; x < 3; ++x) {
      dib.insert(dib.end(), {0x33, static_cast<std::uint8_t>(0x20 * y + 2), static_cast<std::uint8_t>(0x10 * x + 1)});
    }
    dib.insert(dib.end(), {0, 0, 0});  // 9 bytes of pixels padded to 12
  }
  Bytes file{'B', 'M'};
  Put32(file, static_cast<unsigned>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, 14 + 40);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

// A 32-bit icon image; alpha 0 everywhere leaves transparency to the AND mask.
Bytes IconImage(unsigned size, bool ownAlpha) {
  Bytes dib;
  InfoHeader(dib, size, 2 * size, 32);
  for (unsigned row = 0; row < size; ++row) {
    const unsigned y = size - 1 - row;
    for (unsigned x = 0; x < size; ++x) {
      const auto alpha = static_cast<std::uint8_t>(ownAlpha ? 0x20 * (x + y) + 0x1F : 0);
      dib.insert(dib.end(), {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0xC0, alpha});
    }
  }
  for (unsigned row = 0; row < size; ++row) {
    const unsigned y = size - 1 - row;
    // The mask hides the top-left pixel only.
    dib.insert(dib.end(), {static_cast<std::uint8_t>(y == 0 ? 0x80 : 0), 0, 0, 0});
  }
  return dib;
}

Bytes Icon() {
  const Bytes small = IconImage(2, false);
  const Bytes large = IconImage(3, true);
  Bytes file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 2);
  unsigned offset = 6 + 2 * 16;
  for (const Bytes* image : {&small, &large}) {
    const auto size = static_cast<std::uint8_t>(image == &small ? 2 : 3);
    file.insert(file.end(), {size, size, 0, 0});
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<unsigned>(image->size()));
    Put32(file, offset);
    offset += static_cast<unsigned>(image->size());
  }
  file.insert(file.end(), small.begin(), small.end());
  file.insert(file.end(), large.begin(), large.end());
  return file;
}

bool Write(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  const std::string folder = argv[1];
  return Write(folder + "/car.bmp", Bitmap()) && Write(folder + "/app.ico", Icon()) ? 0 : 1;
}
