// Window class names and titles compare without regard to (ASCII) case, as on Windows.
#pragma once

#include <string>
#include <string_view>

namespace handset {

inline std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
  }
  return folded;
}

}  // namespace handset
