// Little-endian reads over a byte span that never step outside it. Every read checks
// what is left first, so a lying size in the data can only make a read fail. A failure is
// sticky: once one read fails every later read fails too, so a parser may read a group of
// fields and test only the last (or Failed()) before using any of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace handset::res {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  std::size_t Offset() const { return offset_; }
  std::size_t Left() const { return bytes_.size() - offset_; }
  bool AtEnd() const { return offset_ == bytes_.size(); }
  bool Failed() const { return failed_; }

  std::optional<std::uint8_t> U8();
  std::optional<std::uint16_t> U16();
  std::optional<std::uint32_t> U32();
  std::optional<std::int16_t> I16();
  std::optional<std::int32_t> I32();
  // The next `count` bytes, or nothing when fewer are left.
  std::optional<std::span<const std::byte>> Bytes(std::size_t count);
  bool Skip(std::size_t count);
  // Moves to the next multiple of `alignment` from the start of the span.
  bool Align(std::size_t alignment);
  // A NUL-terminated UTF-16 string (the NUL is consumed, not returned).
  std::optional<std::u16string> String16();

 private:
  std::span<const std::byte> bytes_;
  std::size_t offset_ = 0;
  bool failed_ = false;

  // True when `count` more bytes can be read; otherwise marks the reader failed.
  bool Have(std::size_t count);
};

}  // namespace handset::res
