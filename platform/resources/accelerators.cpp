// Accelerator entries up to the one marked last.
#include "platform/resources/accelerators.h"

#include <string>

#include "platform/resources/byte_reader.h"

namespace handset::res {

namespace {
constexpr std::uint16_t kLast = 0x80;
constexpr std::uint16_t kKnownFlags = 0x01 | 0x02 | 0x04 | 0x08 | 0x10;
}  // namespace

Parsed<std::vector<AccelEntry>> ParseAccelerators(std::span<const std::byte> data) {
  if (data.empty() || data.size() % 8 != 0) {
    return ParseError{"accelerator table of " + std::to_string(data.size()) + " bytes is not whole 8-byte entries"};
  }
  ByteReader reader(data);
  std::vector<AccelEntry> entries;
  while (!reader.AtEnd()) {
    const std::uint16_t flags = *reader.U16();
    const std::uint16_t key = *reader.U16();
    const std::uint16_t command = *reader.U16();
    reader.Skip(2);
    if ((flags & ~(kKnownFlags | kLast)) != 0) {
      return ParseError{"accelerator entry " + std::to_string(entries.size()) + " has unknown flags " +
                        std::to_string(flags)};
    }
    entries.push_back({static_cast<std::uint8_t>(flags & kKnownFlags), key, command});
    if ((flags & kLast) != 0) {
      if (!reader.AtEnd()) {
        return ParseError{"accelerator table goes on after the entry marked last"};
      }
      return entries;
    }
  }
  return ParseError{"accelerator table has no entry marked last"};
}

}  // namespace handset::res
