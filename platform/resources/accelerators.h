// Accelerator tables: 8-byte entries (flags, key, command, padding), the last one
// flagged 0x80.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/resources/parsed.h"

namespace handset::res {

struct AccelEntry {
  std::uint8_t flags = 0;  // FVIRTKEY, FSHIFT, FCONTROL, FALT, FNOINVERT; the end mark dropped
  std::uint16_t key = 0;   // a virtual key with FVIRTKEY, else a character
  std::uint16_t command = 0;
};

Parsed<std::vector<AccelEntry>> ParseAccelerators(std::span<const std::byte> data);

}  // namespace handset::res
