// UTF-16 to UTF-8 and case folding for module names.
#include "platform/kernel/wide_text.h"

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

std::optional<std::u16string> WideFromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0U) == 0xC0U) {
      extra = 1;
      code = lead & 0x1FU;
    } else if ((lead & 0xF0U) == 0xE0U) {
      extra = 2;
      code = lead & 0x0FU;
    } else if ((lead & 0xF8U) == 0xF0U) {
      extra = 3;
      code = lead & 0x07U;
    } else {
      return std::nullopt;
    }
    if (i + extra >= text.size() && extra != 0) {
      return std::nullopt;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0U) != 0x80U) {
        return std::nullopt;
      }
      code = (code << 6U) | (next & 0x3FU);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return std::nullopt;
    }
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10U));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FFU));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += extra + 1;
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
