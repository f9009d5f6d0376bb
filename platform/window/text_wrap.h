// Measuring and breaking text for the boxes the handset draws itself.
#pragma once

#include <wingdi.h>

#include <string>
#include <vector>

namespace handset {

int TextWidth(HDC dc, const std::u16string& text);

// Breaks `text` into lines no wider than `width`, at spaces and at line breaks; a word
// wider than `width` keeps a line of its own.
std::vector<std::u16string> WrapText(HDC dc, const std::u16string& text, int width);

}  // namespace handset
