// Shared by the resources tests: the embedded test.rc as a module, and a builder for
// hand-made (often malformed) resource bytes.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/resources/res_index.h"
#include "support/fresh_handset.h"

namespace restest {

class Bytes {
 public:
  Bytes& U8(unsigned v) {
    data_.push_back(static_cast<std::byte>(v & 0xFFU));
    return *this;
  }
  Bytes& U16(unsigned v) { return U8(v).U8(v >> 8U); }
  Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFFU).U16(v >> 16U); }
  Bytes& Str(const std::u16string& text) {
    for (const char16_t c : text) {
      U16(c);
    }
    return U16(0);
  }
  Bytes& Pad4() {
    while (data_.size() % 4 != 0) {
      U8(0);
    }
    return *this;
  }
  Bytes& Append(std::span<const std::byte> more) {
    data_.insert(data_.end(), more.begin(), more.end());
    return *this;
  }
  std::vector<std::byte>& Data() { return data_; }
  std::span<const std::byte> Span() const { return data_; }

 private:
  std::vector<std::byte> data_;
};

// The empty entry every .res starts with.
inline Bytes ResHeader() {
  Bytes b;
  b.U32(0).U32(32).U16(0xFFFF).U16(0).U16(0xFFFF).U16(0);
  for (int i = 0; i < 4; ++i) {
    b.U32(0);
  }
  return b;
}

// Appends one numbered entry the way the resource compiler lays it out.
inline Bytes& AddEntry(Bytes& file, unsigned type, unsigned name, unsigned language, std::span<const std::byte> data) {
  file.U32(static_cast<std::uint32_t>(data.size())).U32(32);
  file.U16(0xFFFF).U16(type).U16(0xFFFF).U16(name);
  file.U32(0).U16(0x1030).U16(language).U32(0).U32(0);
  return file.Append(data).Pad4();
}

// The bytes of one resource of the embedded test.rc.
inline std::span<const std::byte> DataOf(unsigned type, unsigned name, unsigned language = 0x0C0A) {
  static const auto index = handset::res::ParseResIndex(EmbeddedResources());
  for (const handset::res::ResEntry& entry : *index) {
    if (entry.type.id == type && entry.name.IsNumber() && entry.name.id == name && entry.language == language) {
      return entry.data;
    }
  }
  ADD_FAILURE() << "no resource " << type << "/" << name;
  return {};
}

class EmbeddedModule : public testsupport::FreshHandset {
 protected:
  HINSTANCE module = handset::AddProgramModule(u"vireta.exe", EmbeddedResources());
};

}  // namespace restest
