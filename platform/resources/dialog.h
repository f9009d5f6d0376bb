// Dialog templates, both forms the resource compiler writes: DIALOG (DLGTEMPLATE with
// DLGITEMTEMPLATE items) and DIALOGEX (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resources/parsed.h"
#include "platform/resources/res_id.h"

namespace handset::res {

struct DialogItem {
  std::uint32_t helpId = 0;  // DIALOGEX only
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::uint32_t id = 0;
  // A predefined class as its atom (0x80 button, 0x81 edit, 0x82 static, 0x83 list box,
  // 0x84 scroll bar, 0x85 combo box) or a class name.
  ResId windowClass;
  ResId text;  // a string (empty when none) or a resource number, e.g. a static's icon
  std::vector<std::byte> creationData;
};

struct DialogTemplate {
  bool extended = false;
  std::uint32_t helpId = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  ResId menu;         // id 0 and no name when it has none
  ResId windowClass;  // id 0 and no name for the standard dialog class
  std::u16string title;
  bool hasFont = false;  // DS_SETFONT
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;  // DIALOGEX only
  std::uint8_t italic = 0;   // DIALOGEX only
  std::uint8_t charset = 0;  // DIALOGEX only
  std::u16string typeface;
  std::vector<DialogItem> items;
};

inline constexpr std::uint32_t kDsSetFont = 0x40;

Parsed<DialogTemplate> ParseDialog(std::span<const std::byte> data);

// The class name behind a predefined atom ("Button" for 0x80 ...), empty for others.
std::u16string_view PredefinedClassName(std::uint16_t atom);

}  // namespace handset::res
