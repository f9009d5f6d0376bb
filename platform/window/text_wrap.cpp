// Word wrapping by the width the current font gives each line.
#include "platform/window/text_wrap.h"

#include <wingdi.h>

namespace handset {

int TextWidth(HDC dc, const std::u16string& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

std::vector<std::u16string> WrapText(HDC dc, const std::u16string& text, int width) {
  std::vector<std::u16string> lines;
  std::u16string line;
  std::u16string word;
  const auto flushWord = [&] {
    const std::u16string joined = line.empty() ? word : line + u" " + word;
    if (!line.empty() && TextWidth(dc, joined) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = joined;
    }
    word.clear();
  };
  for (const char16_t c : text) {
    if (c == u' ' || c == u'\n') {
      flushWord();
      if (c == u'\n') {
        lines.push_back(line);
        line.clear();
      }
    } else if (c != u'\r') {
      word += c;
    }
  }
  flushWord();
  lines.push_back(line);
  return lines;
}

}  // namespace handset
