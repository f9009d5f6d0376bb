// Dialog templates: a fixed head, three variable fields, an optional font, then items
// each on a DWORD boundary.
#include "platform/resources/dialog.h"

#include "platform/resources/byte_reader.h"

namespace handset::res {

namespace {

std::string ItemFault(std::size_t index, const char* what) {
  return "dialog item " + std::to_string(index) + ": " + what;
}

bool ReadBox(ByteReader& reader, std::int16_t& x, std::int16_t& y, std::int16_t& cx, std::int16_t& cy) {
  const auto a = reader.I16();
  const auto b = reader.I16();
  const auto c = reader.I16();
  const auto d = reader.I16();
  if (!d) {
    return false;
  }
  x = *a;
  y = *b;
  cx = *c;
  cy = *d;
  return true;
}

std::string ReadItem(ByteReader& reader, bool extended, std::size_t index, DialogItem& item) {
  if (!reader.Align(4)) {
    return ItemFault(index, "missing");
  }
  if (extended) {
    const auto helpId = reader.U32();
    const auto exStyle = reader.U32();
    const auto style = reader.U32();
    if (!style) {
      return ItemFault(index, "truncated in its styles");
    }
    item.helpId = *helpId;
    item.exStyle = *exStyle;
    item.style = *style;
  } else {
    const auto style = reader.U32();
    const auto exStyle = reader.U32();
    if (!exStyle) {
      return ItemFault(index, "truncated in its styles");
    }
    item.style = *style;
    item.exStyle = *exStyle;
  }
  if (!ReadBox(reader, item.x, item.y, item.cx, item.cy)) {
    return ItemFault(index, "truncated in its position");
  }
  if (extended) {
    const auto id = reader.U32();
    if (!id) {
      return ItemFault(index, "truncated in its id");
    }
    item.id = *id;
  } else {
    const auto id = reader.U16();
    if (!id) {
      return ItemFault(index, "truncated in its id");
    }
    item.id = *id;
  }
  auto windowClass = ReadResId(reader, false);
  if (!windowClass) {
    return ItemFault(index, "class missing or without end");
  }
  item.windowClass = std::move(*windowClass);
  auto text = ReadResId(reader, true);
  if (!text) {
    return ItemFault(index, "text without end");
  }
  item.text = std::move(*text);
  const auto extra = reader.U16();
  if (!extra) {
    return ItemFault(index, "truncated before its creation data");
  }
  const auto bytes = reader.Bytes(*extra);
  if (!bytes) {
    return ItemFault(index, "creation data runs past the end");
  }
  item.creationData.assign(bytes->begin(), bytes->end());
  return {};
}

}  // namespace

std::u16string_view PredefinedClassName(std::uint16_t atom) {
  switch (atom) {
    case 0x80:
      return u"Button";
    case 0x81:
      return u"Edit";
    case 0x82:
      return u"Static";
    case 0x83:
      return u"ListBox";
    case 0x84:
      return u"ScrollBar";
    case 0x85:
      return u"ComboBox";
    default:
      return {};
  }
}

Parsed<DialogTemplate> ParseDialog(std::span<const std::byte> data) {
  ByteReader reader(data);
  DialogTemplate dialog;
  {
    ByteReader peek = reader;
    const auto version = peek.U16();
    const auto signature = peek.U16();
    dialog.extended = version && signature && *version == 1 && *signature == 0xFFFF;
  }
  std::optional<std::uint16_t> count;
  if (dialog.extended) {
    reader.Skip(4);
    const auto helpId = reader.U32();
    const auto exStyle = reader.U32();
    const auto style = reader.U32();
    count = reader.U16();
    if (!count) {
      return ParseError{"DIALOGEX template shorter than its header"};
    }
    dialog.helpId = *helpId;
    dialog.exStyle = *exStyle;
    dialog.style = *style;
  } else {
    const auto style = reader.U32();
    const auto exStyle = reader.U32();
    count = reader.U16();
    if (!count) {
      return ParseError{"DIALOG template shorter than its header"};
    }
    dialog.style = *style;
    dialog.exStyle = *exStyle;
  }
  if (!ReadBox(reader, dialog.x, dialog.y, dialog.cx, dialog.cy)) {
    return ParseError{"dialog template truncated in its position"};
  }
  auto menu = ReadResId(reader, true);
  auto windowClass = menu ? ReadResId(reader, true) : std::nullopt;
  auto title = windowClass ? reader.String16() : std::nullopt;
  if (!title) {
    return ParseError{"dialog menu, class or title truncated or without end"};
  }
  dialog.menu = std::move(*menu);
  dialog.windowClass = std::move(*windowClass);
  dialog.title = std::move(*title);

  if ((dialog.style & kDsSetFont) != 0) {
    dialog.hasFont = true;
    const auto pointSize = reader.U16();
    if (!pointSize) {
      return ParseError{"dialog font truncated"};
    }
    dialog.pointSize = *pointSize;
    if (dialog.extended) {
      const auto weight = reader.U16();
      const auto italic = reader.U8();
      const auto charset = reader.U8();
      if (!charset) {
        return ParseError{"dialog font truncated"};
      }
      dialog.weight = *weight;
      dialog.italic = *italic;
      dialog.charset = *charset;
    }
    auto typeface = reader.String16();
    if (!typeface) {
      return ParseError{"dialog font name without end"};
    }
    dialog.typeface = std::move(*typeface);
  }

  for (std::size_t index = 0; index < *count; ++index) {
    DialogItem item;
    if (std::string fault = ReadItem(reader, dialog.extended, index, item); !fault.empty()) {
      return ParseError{std::move(fault) + " (of " + std::to_string(*count) + ")"};
    }
    dialog.items.push_back(std::move(item));
  }
  if (!reader.AtEnd()) {
    return ParseError{"dialog template goes on for " + std::to_string(reader.Left()) + " bytes after its items"};
  }
  return dialog;
}

}  // namespace handset::res
