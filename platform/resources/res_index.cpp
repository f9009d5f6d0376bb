// Walks the .res entries with every size checked against what is left.
#include "platform/resources/res_index.h"

#include <cstdio>
#include <set>
#include <tuple>

#include "platform/resources/byte_reader.h"

namespace handset::res {

namespace {

std::string Hex(std::uint64_t value) {
  char text[24];
  (void)std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

ParseError EntryError(std::size_t index, std::size_t offset, const std::string& what) {
  return {"resource entry " + std::to_string(index) + " at offset " + Hex(offset) + ": " + what};
}

// What a 16-bit string turns into in a message: ASCII kept, the rest as \uXXXX.
std::string Printable(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char code[8];
      (void)std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
      out += code;
    }
  }
  return out;
}

constexpr std::size_t kFixedHeader = 8;  // DataSize, HeaderSize

}  // namespace

std::string Describe(const ResId& id) {
  return id.IsNumber() ? std::to_string(id.id) : "\"" + Printable(id.name) + "\"";
}

std::string Describe(const ResEntry& entry) {
  return "type " + Describe(entry.type) + ", name " + Describe(entry.name) + ", language " + Hex(entry.language);
}

Parsed<std::vector<ResEntry>> ParseResIndex(std::span<const std::byte> file) {
  ByteReader reader(file);
  std::vector<ResEntry> entries;
  std::set<std::tuple<std::uint16_t, std::u16string, std::uint16_t, std::u16string, std::uint16_t>> seen;
  for (std::size_t index = 0; !reader.AtEnd(); ++index) {
    const std::size_t start = reader.Offset();
    if (reader.Left() < kFixedHeader) {
      return EntryError(index, start, "truncated before its sizes");
    }
    const std::uint64_t dataSize = *reader.U32();
    const std::uint64_t headerSize = *reader.U32();
    if (headerSize < kFixedHeader || headerSize > reader.Left() + kFixedHeader) {
      return EntryError(index, start, "header size " + Hex(headerSize) + " does not fit the file");
    }
    ByteReader header(*reader.Bytes(static_cast<std::size_t>(headerSize - kFixedHeader)));
    const auto type = ReadResId(header, false);
    const auto name = type ? ReadResId(header, false) : std::nullopt;
    if (!type || !name) {
      return EntryError(index, start, "type or name runs past the header");
    }
    ResEntry entry;
    entry.type = *type;
    entry.name = *name;
    // Entries start on a DWORD boundary and the sizes take 8 bytes, so aligning within
    // the header aligns in the file too.
    const std::size_t fields = 4 + 2 + 2 + 4 + 4;
    if (!header.Align(4) || header.Left() != fields) {
      return EntryError(index, start, "header size " + Hex(headerSize) + " does not match its fields");
    }
    entry.dataVersion = *header.U32();
    entry.memoryFlags = *header.U16();
    entry.language = *header.U16();
    entry.version = *header.U32();
    entry.characteristics = *header.U32();

    if (dataSize > reader.Left()) {
      return EntryError(index, start, "data size " + Hex(dataSize) + " runs past the end of the file");
    }
    entry.data = *reader.Bytes(static_cast<std::size_t>(dataSize));
    if (!reader.Align(4)) {
      return EntryError(index, start, "padding after the data is missing");
    }

    if (index == 0) {
      // The first entry marks the file as 32-bit and holds nothing.
      if (dataSize != 0 || headerSize != 32 || !entry.type.IsNumber() || entry.type.id != 0 || !entry.name.IsNumber() ||
          entry.name.id != 0) {
        return EntryError(index, start, "not the empty entry a 32-bit resource file starts with");
      }
      continue;
    }
    if (!seen.emplace(entry.type.id, entry.type.name, entry.name.id, entry.name.name, entry.language).second) {
      return EntryError(index, start, "repeats " + Describe(entry));
    }
    entries.push_back(std::move(entry));
  }
  if (file.empty()) {
    return ParseError{"resource file is empty"};
  }
  return entries;
}

}  // namespace handset::res
