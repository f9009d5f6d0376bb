#include "png_file.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace sensor_dll {

namespace {

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
      }
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFFU;
  for (const char byte : bytes) {
    crc = kTable[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFFU] ^ (crc >> 8U);
  }
  return crc ^ 0xFFFFFFFFU;
}

std::uint32_t Adler32(const std::string& bytes) {
  constexpr std::uint32_t kBase = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const char byte : bytes) {
    a = (a + static_cast<std::uint8_t>(byte)) % kBase;
    b = (b + a) % kBase;
  }
  return (b << 16U) | a;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out += static_cast<char>((value >> static_cast<unsigned>(shift)) & 0xFFU);
  }
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  PutBigEndian(out, Crc32(typed));
}

// A zlib stream of stored blocks, each at most 65535 bytes.
std::string Stored(const std::string& raw) {
  constexpr std::size_t kMostPerBlock = 65535;
  std::string out = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t size = raw.size() - at < kMostPerBlock ? raw.size() - at : kMostPerBlock;
    const bool last = at + size == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    const auto length = static_cast<std::uint16_t>(size);
    const auto complement = static_cast<std::uint16_t>(~length);
    out += static_cast<char>(length & 0xFFU);
    out += static_cast<char>(length >> 8U);
    out += static_cast<char>(complement & 0xFFU);
    out += static_cast<char>(complement >> 8U);
    out.append(raw, at, size);
    at += size;
  } while (at < raw.size());
  PutBigEndian(out, Adler32(raw));
  return out;
}

}  // namespace

std::string PngOf(int width, int height, const std::vector<std::uint8_t>& rgb) {
  const auto rowBytes = static_cast<std::size_t>(width) * 3;
  std::string raw;
  raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(rgb.data() + y * rowBytes), rowBytes);
  }
  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter choice, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", Stored(raw));
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace sensor_dll
