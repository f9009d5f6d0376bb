// Menus as the resource compiler writes MENU: a header, then items; a popup's items
// follow it, and the last item of each level carries MF_END.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/resources/parsed.h"

namespace handset::res {

struct MenuItem {
  std::u16string text;             // empty for a separator
  std::uint16_t id = 0;            // 0 for popups and separators
  std::uint16_t flags = 0;         // MF_* as written, MF_END dropped
  std::vector<MenuItem> children;  // a popup's items

  bool IsPopup() const { return (flags & 0x10U) != 0; }
};

struct Menu {
  std::vector<MenuItem> items;
};

// Popups nested deeper than this are refused rather than walked.
inline constexpr int kMaxMenuDepth = 16;

Parsed<Menu> ParseMenu(std::span<const std::byte> data);

}  // namespace handset::res
