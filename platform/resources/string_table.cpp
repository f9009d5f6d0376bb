// String bundles: a length word, then that many UTF-16 units, sixteen times.
#include "platform/resources/string_table.h"

#include <string>

#include "platform/resources/byte_reader.h"

namespace handset::res {

Parsed<StringBundle> ParseStringBundle(std::span<const std::byte> data) {
  ByteReader reader(data);
  StringBundle bundle;
  for (std::size_t slot = 0; slot < bundle.size(); ++slot) {
    const auto length = reader.U16();
    if (!length) {
      return ParseError{"string bundle ends before string " + std::to_string(slot)};
    }
    const auto units = reader.Bytes(std::size_t{*length} * 2);
    if (!units) {
      return ParseError{"string bundle: string " + std::to_string(slot) + " of " + std::to_string(*length) +
                        " units runs past the end"};
    }
    // Resource data is DWORD aligned in the file, so the units are 2-byte aligned.
    if (reinterpret_cast<std::uintptr_t>(units->data()) % alignof(char16_t) != 0) {
      return ParseError{"string bundle is not 2-byte aligned"};
    }
    bundle[slot] = std::u16string_view(reinterpret_cast<const char16_t*>(units->data()), *length);
  }
  if (!reader.AtEnd()) {
    return ParseError{"string bundle has " + std::to_string(reader.Left()) + " bytes after its 16 strings"};
  }
  return bundle;
}

}  // namespace handset::res
