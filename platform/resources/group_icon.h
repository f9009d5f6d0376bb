// Icon groups: an RT_GROUP_ICON directory lists the sizes of one icon, each stored as
// its own RT_ICON resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/resources/parsed.h"

namespace handset::res {

struct GroupIconEntry {
  int width = 0;  // 256 where the directory stores 0
  int height = 0;
  std::uint8_t colourCount = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t bytesInRes = 0;
  std::uint16_t iconId = 0;  // the RT_ICON resource's number
};

Parsed<std::vector<GroupIconEntry>> ParseGroupIcon(std::span<const std::byte> data);

// The entry to show when one image is wanted: the largest, then the deepest colour.
const GroupIconEntry& LargestIcon(const std::vector<GroupIconEntry>& entries);

}  // namespace handset::res
