// UTF-16 to UTF-8 and case folding for module names.
#include "kernel/wide_text.h"

namespace handset {

namespace {
void Append(std::string& out, char32_t code) {
  const auto byte = [](char32_t bits) { return static_cast<char>(static_cast<unsigned char>(bits)); };
  if (code < 0x80) {
    out += byte(code);
  } else if (code < 0x800) {
    out += byte(0xC0 | (code >> 6));
    out += byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += byte(0xE0 | (code >> 12));
    out += byte(0x80 | ((code >> 6) & 0x3F));
    out += byte(0x80 | (code & 0x3F));
  } else {
    out += byte(0xF0 | (code >> 18));
    out += byte(0x80 | ((code >> 12) & 0x3F));
    out += byte(0x80 | ((code >> 6) & 0x3F));
    out += byte(0x80 | (code & 0x3F));
  }
}
bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
}  // namespace

std::optional<std::string> Utf8FromWide(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHigh(unit)) {
      if (i + 1 == text.size() || !IsLow(text[i + 1])) {
        return std::nullopt;
      }
      const char16_t low = text[++i];
      Append(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00));
    } else if (IsLow(unit)) {
      return std::nullopt;
    } else {
      Append(out, unit);
    }
  }
  return out;
}

std::string FoldCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

}  // namespace handset
