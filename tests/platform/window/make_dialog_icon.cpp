// Writes dialog.ico for dialogs.rc: one 8 x 8 32-bit image, opaque blue but for a
// transparent top row and a half-transparent red last row, so a test can tell that an
// icon is drawn at its own size with its alpha.
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

constexpr unsigned kSize = 8;

Bytes Image() {
  Bytes dib;
  for (const unsigned v : {40U, kSize, 2 * kSize}) {
    Put32(dib, v);
  }
  Put16(dib, 1);
  Put16(dib, 32);
  for (int i = 0; i < 6; ++i) {
    Put32(dib, 0);
  }
  for (unsigned row = 0; row < kSize; ++row) {
    const unsigned y = kSize - 1 - row;  // bottom-up
    for (unsigned x = 0; x < kSize; ++x) {
      if (y == 0) {
        dib.insert(dib.end(), {0, 0, 0, 0});
      } else if (y == kSize - 1) {
        dib.insert(dib.end(), {0, 0, 0xFF, 0x80});
      } else {
        dib.insert(dib.end(), {0xFF, 0, 0, 0xFF});
      }
    }
  }
  dib.insert(dib.end(), kSize * 4, 0);  // the AND mask: all clear, the alpha decides
  return dib;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  const Bytes image = Image();
  Bytes file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.insert(file.end(), {kSize, kSize, 0, 0});
  Put16(file, 1);
  Put16(file, 32);
  Put32(file, static_cast<unsigned>(image.size()));
  Put32(file, 6 + 16);
  file.insert(file.end(), image.begin(), image.end());
  std::ofstream out(std::string(argv[1]) + "/dialog.ico", std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return out ? 0 : 1;
}
