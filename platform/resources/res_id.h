// A resource type or name as the compiled file stores it: a 16-bit number or a string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/resources/byte_reader.h"

namespace handset::res {

struct ResId {
  std::uint16_t id = 0;
  std::u16string name;  // empty when the id is a number

  bool IsNumber() const { return name.empty(); }
  bool operator==(const ResId&) const = default;
};

// 0xFFFF then the number, else a NUL-terminated string. With `allowNone`, a lone 0
// word (a dialog with no menu or class) gives the empty id 0.
std::optional<ResId> ReadResId(ByteReader& reader, bool allowNone);

// Names match the way Windows matches them: ignoring case.
bool SameName(const std::u16string& a, const std::u16string& b);

}  // namespace handset::res
