// PNG files for a build without libpng (WebAssembly): the same RGB pictures, their
// pixels deflated as stored blocks, which needs no compressor. Reading is for tests,
// which run natively.
#include <array>

#include "platform/gdi/png_file.h"
#include "platform/gdi/whole_file.h"

namespace handset {
namespace {

std::uint32_t Crc(const std::uint8_t* bytes, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> values{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
      }
      values[n] = c;
    }
    return values;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  }
  return ~crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void Chunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, Crc(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks holding `raw`.
std::vector<std::uint8_t> Stored(const std::vector<std::uint8_t>& raw) {
  constexpr std::size_t kBlock = 65535;
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t size = std::min(kBlock, raw.size() - at);
    const bool last = at + size == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(size >> 8));
    out.push_back(static_cast<std::uint8_t>(~size));
    out.push_back(static_cast<std::uint8_t>(~size >> 8));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
               raw.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
  } while (at < raw.size());
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32(out, (b << 16) | a);
  return out;
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::filesystem::path& file, std::string& error) {
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(bitmap.Height()) * (1 + static_cast<std::size_t>(bitmap.Width()) * 3));
  for (int y = 0; y < bitmap.Height(); ++y) {
    raw.push_back(0);  // no filter
    const std::uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      raw.push_back(static_cast<std::uint8_t>(row[x] >> 16));
      raw.push_back(static_cast<std::uint8_t>(row[x] >> 8));
      raw.push_back(static_cast<std::uint8_t>(row[x]));
    }
  }
  std::vector<std::uint8_t> header;
  Put32(header, static_cast<std::uint32_t>(bitmap.Width()));
  Put32(header, static_cast<std::uint32_t>(bitmap.Height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, not interlaced
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", Stored(raw));
  Chunk(png, "IEND", {});

  return WriteWholeFile(file, png, error);
}

std::optional<Picture> ReadPng(const std::filesystem::path& file, std::string& error) {
  error = "cannot read " + file.string() + ": this build reads no PNG files";
  return std::nullopt;
}

}  // namespace handset
