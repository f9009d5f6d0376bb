// The icon directory: reserved 0, type 1, a count, then 14-byte entries.
#include "platform/resources/group_icon.h"

#include <string>

#include "platform/resources/byte_reader.h"

namespace handset::res {

Parsed<std::vector<GroupIconEntry>> ParseGroupIcon(std::span<const std::byte> data) {
  ByteReader reader(data);
  const auto reserved = reader.U16();
  const auto type = reader.U16();
  const auto count = reader.U16();
  if (!count) {
    return ParseError{"icon group shorter than its header"};
  }
  if (*reserved != 0 || *type != 1) {
    return ParseError{"icon group header is not an icon directory (type " + std::to_string(*type) + ")"};
  }
  if (*count == 0) {
    return ParseError{"icon group lists no images"};
  }
  if (reader.Left() != std::size_t{*count} * 14) {
    return ParseError{"icon group of " + std::to_string(*count) + " entries has " + std::to_string(reader.Left()) +
                      " bytes of them"};
  }
  std::vector<GroupIconEntry> entries;
  for (unsigned i = 0; i < *count; ++i) {
    GroupIconEntry entry;
    const std::uint8_t width = *reader.U8();
    const std::uint8_t height = *reader.U8();
    entry.width = width == 0 ? 256 : width;
    entry.height = height == 0 ? 256 : height;
    entry.colourCount = *reader.U8();
    reader.Skip(1);
    entry.planes = *reader.U16();
    entry.bitCount = *reader.U16();
    entry.bytesInRes = *reader.U32();
    entry.iconId = *reader.U16();
    entries.push_back(entry);
  }
  return entries;
}

const GroupIconEntry& LargestIcon(const std::vector<GroupIconEntry>& entries) {
  const GroupIconEntry* best = &entries.front();
  for (const GroupIconEntry& entry : entries) {
    const long area = long{entry.width} * entry.height;
    const long bestArea = long{best->width} * best->height;
    if (area > bestArea || (area == bestArea && entry.bitCount > best->bitCount)) {
      best = &entry;
    }
  }
  return *best;
}

}  // namespace handset::res
