// Bounds-checked little-endian reads.
#include "platform/resources/byte_reader.h"

namespace handset::res {

bool ByteReader::Have(std::size_t count) {
  if (failed_ || Left() < count) {
    failed_ = true;
    return false;
  }
  return true;
}

std::optional<std::uint8_t> ByteReader::U8() {
  if (!Have(1)) {
    return std::nullopt;
  }
  return std::to_integer<std::uint8_t>(bytes_[offset_++]);
}

std::optional<std::uint16_t> ByteReader::U16() {
  if (!Have(2)) {
    return std::nullopt;
  }
  const auto low = std::to_integer<std::uint16_t>(bytes_[offset_]);
  const auto high = std::to_integer<std::uint16_t>(bytes_[offset_ + 1]);
  offset_ += 2;
  return static_cast<std::uint16_t>(low | (high << 8U));
}

std::optional<std::uint32_t> ByteReader::U32() {
  if (!Have(4)) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::to_integer<std::uint32_t>(bytes_[offset_ + i]) << (8U * i);
  }
  offset_ += 4;
  return value;
}

std::optional<std::int16_t> ByteReader::I16() {
  const auto value = U16();
  if (!value) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(*value);
}

std::optional<std::int32_t> ByteReader::I32() {
  const auto value = U32();
  if (!value) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::optional<std::span<const std::byte>> ByteReader::Bytes(std::size_t count) {
  if (!Have(count)) {
    return std::nullopt;
  }
  const auto part = bytes_.subspan(offset_, count);
  offset_ += count;
  return part;
}

bool ByteReader::Skip(std::size_t count) { return Bytes(count).has_value(); }

bool ByteReader::Align(std::size_t alignment) {
  if (failed_) {
    return false;
  }
  const std::size_t over = offset_ % alignment;
  return over == 0 || Skip(alignment - over);
}

std::optional<std::u16string> ByteReader::String16() {
  std::u16string text;
  while (true) {
    const auto unit = U16();
    if (!unit) {
      return std::nullopt;
    }
    if (*unit == 0) {
      return text;
    }
    text.push_back(static_cast<char16_t>(*unit));
  }
}

}  // namespace handset::res
