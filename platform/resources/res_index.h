// The index of a compiled resource file (.res): an empty first entry, then one entry a
// resource, each a header naming its type, name and language followed by its data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/resources/parsed.h"
#include "platform/resources/res_id.h"

namespace handset::res {

struct ResEntry {
  ResId type;
  ResId name;
  std::uint32_t dataVersion = 0;
  std::uint16_t memoryFlags = 0;
  std::uint16_t language = 0;
  std::uint32_t version = 0;
  std::uint32_t characteristics = 0;
  std::span<const std::byte> data;  // inside the file's bytes
};

// Every entry in file order. Refuses the whole file on the first fault: truncation, a
// size that points past the end, a header size that disagrees with its fields, a
// string without its end or two entries with the same type, name and language.
Parsed<std::vector<ResEntry>> ParseResIndex(std::span<const std::byte> file);

// "type 6, name 2, language 0x0C0A" for messages.
std::string Describe(const ResEntry& entry);
std::string Describe(const ResId& id);

}  // namespace handset::res
