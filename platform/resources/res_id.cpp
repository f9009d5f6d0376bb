// Numbers-or-strings and the case-blind comparison of names.
#include "platform/resources/res_id.h"

#include <algorithm>

namespace handset::res {

std::optional<ResId> ReadResId(ByteReader& reader, bool allowNone) {
  ByteReader peek = reader;
  const auto first = peek.U16();
  if (!first) {
    return std::nullopt;
  }
  if (*first == 0xFFFF) {
    const auto number = peek.U16();
    if (!number) {
      return std::nullopt;
    }
    reader = peek;
    return ResId{*number, {}};
  }
  if (*first == 0 && allowNone) {
    reader = peek;
    return ResId{};
  }
  auto text = reader.String16();
  if (!text || text->empty()) {
    return std::nullopt;
  }
  return ResId{0, std::move(*text)};
}

namespace {
// Upper case for ASCII and Latin-1, which is what resource names use here.
char16_t Upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
    return static_cast<char16_t>(c - 0x20);
  }
  return c;
}
}  // namespace

bool SameName(const std::u16string& a, const std::u16string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return Upper(x) == Upper(y); });
}

}  // namespace handset::res
