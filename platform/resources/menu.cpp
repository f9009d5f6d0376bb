// Menu items read level by level; depth is bounded so hostile data cannot exhaust the stack.
#include "platform/resources/menu.h"

#include "platform/resources/byte_reader.h"

namespace handset::res {

namespace {

constexpr std::uint16_t kPopup = 0x10;
constexpr std::uint16_t kEnd = 0x80;

std::string At(const ByteReader& reader) { return " at offset " + std::to_string(reader.Offset()); }

// Reads items until one carries MF_END; returns an empty string or the fault.
std::string ReadLevel(ByteReader& reader, int depth, std::vector<MenuItem>& items) {
  if (depth > kMaxMenuDepth) {
    return "menu popups nest deeper than " + std::to_string(kMaxMenuDepth) + " levels" + At(reader);
  }
  while (true) {
    if (reader.AtEnd()) {
      return "menu ends before an item marked last";
    }
    const std::size_t start = reader.Offset();
    const auto flags = reader.U16();
    if (!flags) {
      return "menu item truncated" + At(reader);
    }
    MenuItem item;
    item.flags = static_cast<std::uint16_t>(*flags & ~kEnd);
    if ((*flags & kPopup) == 0) {
      const auto id = reader.U16();
      if (!id) {
        return "menu item truncated" + At(reader);
      }
      item.id = *id;
    }
    auto text = reader.String16();
    if (!text) {
      return "menu item text at offset " + std::to_string(start) + " has no end";
    }
    item.text = std::move(*text);
    if (item.IsPopup()) {
      if (std::string fault = ReadLevel(reader, depth + 1, item.children); !fault.empty()) {
        return fault;
      }
    }
    items.push_back(std::move(item));
    if ((*flags & kEnd) != 0) {
      return {};
    }
  }
}

}  // namespace

Parsed<Menu> ParseMenu(std::span<const std::byte> data) {
  ByteReader reader(data);
  const auto version = reader.U16();
  const auto headerSize = reader.U16();
  if (!version || !headerSize) {
    return ParseError{"menu shorter than its header"};
  }
  if (*version != 0) {
    return ParseError{"menu version " + std::to_string(*version) + " is not a plain MENU"};
  }
  if (!reader.Skip(*headerSize)) {
    return ParseError{"menu header size " + std::to_string(*headerSize) + " runs past the end"};
  }
  Menu menu;
  if (std::string fault = ReadLevel(reader, 0, menu.items); !fault.empty()) {
    return ParseError{std::move(fault)};
  }
  if (!reader.AtEnd()) {
    return ParseError{"menu goes on for " + std::to_string(reader.Left()) + " bytes after its last item"};
  }
  return menu;
}

}  // namespace handset::res
