// DIB decoding with every size computed in 64 bits and checked against the data.
#include "platform/resources/dib.h"

#include <array>
#include <string>

#include "platform/resources/byte_reader.h"

namespace handset::res {

namespace {

constexpr std::uint32_t kBiRgb = 0;

struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows of colour, always positive
  bool topDown = false;
  unsigned bits = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::span<const std::byte> rows;     // the colour rows and anything after them
  std::uint64_t stride = 0;
};

std::uint64_t StrideOf(std::int64_t width, unsigned bits) {
  return (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
}

std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

Parsed<Layout> ReadLayout(std::span<const std::byte> data, bool icon) {
  if (data.size() < 40) {
    return ParseError{"bitmap shorter than a BITMAPINFOHEADER"};
  }
  ByteReader reader(data);
  const auto headerSize = reader.U32();
  const auto width = reader.I32();
  const auto height = reader.I32();
  const auto planes = reader.U16();
  const auto bits = reader.U16();
  const auto compression = reader.U32();
  reader.Skip(12);  // image size and resolution: derived, not trusted
  const auto colorsUsed = reader.U32();
  if (!colorsUsed) {
    return ParseError{"bitmap shorter than its BITMAPINFOHEADER"};
  }
  if (*headerSize < 40 || *headerSize > data.size()) {
    return ParseError{"bitmap header size " + std::to_string(*headerSize) + " is not a BITMAPINFOHEADER that fits"};
  }
  reader = ByteReader(data);
  reader.Skip(*headerSize);

  Layout layout;
  layout.width = *width;
  layout.height = *height;
  if (layout.height < 0) {
    layout.topDown = true;
    layout.height = -layout.height;
  }
  if (icon) {
    if (layout.topDown || layout.height % 2 != 0) {
      return ParseError{"icon image height " + std::to_string(*height) + " is not twice a bottom-up height"};
    }
    layout.height /= 2;
  }
  if (layout.width <= 0 || layout.height <= 0 || layout.width * layout.height > kMaxImagePixels) {
    return ParseError{"bitmap of " + std::to_string(*width) + " x " + std::to_string(*height) + " pixels"};
  }
  if (*planes != 1) {
    return ParseError{"bitmap has " + std::to_string(*planes) + " planes"};
  }
  layout.bits = *bits;
  if (layout.bits != 1 && layout.bits != 4 && layout.bits != 8 && layout.bits != 24 && layout.bits != 32) {
    return ParseError{"bitmap of " + std::to_string(layout.bits) + " bits a pixel is not decoded"};
  }
  if (*compression != kBiRgb) {
    return ParseError{"bitmap compression " + std::to_string(*compression) + " is not BI_RGB"};
  }
  std::uint64_t colours = *colorsUsed;
  if (layout.bits <= 8) {
    const std::uint64_t most = std::uint64_t{1} << layout.bits;
    if (colours == 0) {
      colours = most;
    } else if (colours > most) {
      return ParseError{"bitmap palette of " + std::to_string(colours) + " colours for " + std::to_string(layout.bits) +
                        " bits"};
    }
  }
  if (colours * 4 > reader.Left()) {
    return ParseError{"bitmap palette runs past the end"};
  }
  for (std::uint64_t i = 0; i < colours; ++i) {
    const std::uint8_t b = *reader.U8();
    const std::uint8_t g = *reader.U8();
    const std::uint8_t r = *reader.U8();
    reader.Skip(1);
    // Only a paletted image reads its palette; others carry one only as a hint.
    if (layout.bits <= 8) {
      layout.palette.push_back(Rgb(r, g, b));
    }
  }
  layout.stride = StrideOf(layout.width, layout.bits);
  const std::uint64_t size = layout.stride * static_cast<std::uint64_t>(layout.height);
  if (size > reader.Left()) {
    return ParseError{"bitmap rows need " + std::to_string(size) + " bytes, " + std::to_string(reader.Left()) +
                      " are there"};
  }
  layout.rows = *reader.Bytes(reader.Left());
  return layout;
}

std::uint8_t ByteAt(std::span<const std::byte> bytes, std::uint64_t offset) {
  return std::to_integer<std::uint8_t>(bytes[static_cast<std::size_t>(offset)]);
}

// The colour of every pixel, plus the alpha byte for 32-bit images.
Parsed<Image> DecodeRows(const Layout& layout, std::vector<std::uint8_t>* alpha) {
  Image image;
  image.width = static_cast<int>(layout.width);
  image.height = static_cast<int>(layout.height);
  const auto count = static_cast<std::size_t>(layout.width * layout.height);
  image.pixels.resize(count);
  if (alpha != nullptr) {
    alpha->assign(count, 0);
  }
  for (std::int64_t y = 0; y < layout.height; ++y) {
    const std::int64_t source = layout.topDown ? y : layout.height - 1 - y;
    const std::uint64_t row = static_cast<std::uint64_t>(source) * layout.stride;
    std::uint32_t* out = image.pixels.data() + static_cast<std::size_t>(y * layout.width);
    for (std::int64_t x = 0; x < layout.width; ++x) {
      const auto ux = static_cast<std::uint64_t>(x);
      if (layout.bits >= 24) {
        const std::uint64_t at = row + ux * (layout.bits / 8);
        out[x] = Rgb(ByteAt(layout.rows, at + 2), ByteAt(layout.rows, at + 1), ByteAt(layout.rows, at));
        if (layout.bits == 32 && alpha != nullptr) {
          (*alpha)[static_cast<std::size_t>(y * layout.width + x)] = ByteAt(layout.rows, at + 3);
        }
        continue;
      }
      const std::uint64_t bit = ux * layout.bits;
      const unsigned shift = 8U - layout.bits - static_cast<unsigned>(bit % 8);
      const unsigned index = (unsigned{ByteAt(layout.rows, row + bit / 8)} >> shift) & ((1U << layout.bits) - 1U);
      if (index >= layout.palette.size()) {
        return ParseError{"bitmap pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") uses colour " +
                          std::to_string(index) + " of a palette of " + std::to_string(layout.palette.size())};
      }
      out[x] = layout.palette[index];
    }
  }
  return image;
}

}  // namespace

Parsed<Image> DecodeDib(std::span<const std::byte> data) {
  const auto layout = ReadLayout(data, false);
  if (!layout) {
    return ParseError{layout.error()};
  }
  return DecodeRows(*layout, nullptr);
}

Parsed<Image> DecodeIconDib(std::span<const std::byte> data) {
  const auto layout = ReadLayout(data, true);
  if (!layout) {
    return ParseError{layout.error()};
  }
  std::vector<std::uint8_t> alpha;
  auto decoded = DecodeRows(*layout, &alpha);
  if (!decoded) {
    return decoded;
  }
  Image image = *std::move(decoded);
  const std::uint64_t colourSize = layout->stride * static_cast<std::uint64_t>(layout->height);
  const std::uint64_t maskStride = StrideOf(layout->width, 1);
  if (colourSize + maskStride * static_cast<std::uint64_t>(layout->height) > layout->rows.size()) {
    return ParseError{"icon image has no room for its AND mask"};
  }
  bool ownAlpha = false;
  for (const std::uint8_t a : alpha) {
    ownAlpha = ownAlpha || a != 0;
  }
  const auto mask = layout->rows.subspan(static_cast<std::size_t>(colourSize));
  for (std::int64_t y = 0; y < layout->height; ++y) {
    const std::uint64_t row = static_cast<std::uint64_t>(layout->height - 1 - y) * maskStride;
    for (std::int64_t x = 0; x < layout->width; ++x) {
      const auto at = static_cast<std::size_t>(y * layout->width + x);
      const auto ux = static_cast<std::uint64_t>(x);
      const bool transparent = ((unsigned{ByteAt(mask, row + ux / 8)} >> (7U - ux % 8)) & 1U) != 0;
      const std::uint32_t a = ownAlpha ? alpha[at] : (transparent ? 0U : 0xFFU);
      image.pixels[at] |= a << 24;
    }
  }
  return image;
}

bool IsPng(std::span<const std::byte> data) {
  static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (data.size() < kSignature.size()) {
    return false;
  }
  for (std::size_t i = 0; i < kSignature.size(); ++i) {
    if (std::to_integer<std::uint8_t>(data[i]) != kSignature[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace handset::res
