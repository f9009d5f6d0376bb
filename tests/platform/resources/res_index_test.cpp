// The .res index: the embedded test file cut at every length, and damaged files refused whole.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/resources/res_index.h"
#include "resource_test_support.h"

namespace {

using handset::res::ParseResIndex;
using handset::res::ResEntry;
using restest::AddEntry;
using restest::Bytes;
using restest::ResHeader;

TEST(ResIndex, TruncationIsRefusedExceptAtAnEntryBoundary) {
  const auto whole = EmbeddedResources();
  const auto full = ParseResIndex(whole);
  ASSERT_TRUE(full);
  std::vector<std::size_t> boundaries{32};
  for (const ResEntry& entry : *full) {
    const auto end = static_cast<std::size_t>(entry.data.data() + entry.data.size() - whole.data());
    boundaries.push_back((end + 3) / 4 * 4);
  }
  std::size_t accepted = 0;
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const std::vector<std::byte> copy(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    const auto cut = ParseResIndex(copy);
    const auto boundary = std::find(boundaries.begin(), boundaries.end(), length);
    if (boundary == boundaries.end()) {
      EXPECT_FALSE(cut) << "length " << length;
      EXPECT_FALSE(!cut && cut.error().empty());
    } else {
      ASSERT_TRUE(cut) << "length " << length << ": " << cut.error();
      EXPECT_EQ(cut->size(), static_cast<std::size_t>(boundary - boundaries.begin()));
      ++accepted;
    }
  }
  EXPECT_EQ(accepted, boundaries.size() - 1);
}

// One small valid file whose second entry each case damages, at the field's offset from
// the start of that entry.
TEST(ResIndex, LyingSizesAreRefused) {
  const std::byte data[6] = {};
  Bytes valid = ResHeader();
  AddEntry(valid, 10, 7, 0, data);
  ASSERT_TRUE(ParseResIndex(valid.Span()));
  // What is wrong, and the offset and value of the field that says so.
  const std::tuple<const char*, std::size_t, std::uint32_t> cases[] = {
      {"data one byte past the end", 0, 6 + 2 + 1},
      {"data far past the end", 0, 0xFFFFFFFFU},
      {"data size near 2^32 with header size", 0, 0xFFFFFFE0U},
      {"header size 0", 4, 0},
      {"header size below the fixed part", 4, 4},
      {"header size short of the fields", 4, 28},
      {"header size past the fields", 4, 36},
      {"header size huge", 4, 0xFFFFFFF8U},
  };
  for (const auto& [what, offset, value] : cases) {
    Bytes file = valid;
    for (std::size_t i = 0; i < 4; ++i) {
      file.Data()[32 + offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFU);
    }
    const auto parsed = ParseResIndex(file.Span());
    EXPECT_FALSE(parsed) << what;
    EXPECT_NE(parsed.error().find("entry 1"), std::string::npos) << what << ": " << parsed.error();
  }
}

TEST(ResIndex, MalformedHeadersAreRefused) {
  const std::byte data[4] = {};
  Bytes noEmptyFirst;
  AddEntry(noEmptyFirst, 10, 1, 0, data);
  Bytes unending = ResHeader();  // a name whose NUL never comes within the header
  unending.U32(0).U32(32).U16(0xFFFF).U16(10);
  for (int i = 0; i < 10; ++i) {
    unending.U16('A');
  }
  Bytes twice = ResHeader();
  AddEntry(AddEntry(twice, 10, 1, 0, data), 10, 1, 0, data);
  const std::pair<Bytes, const char*> cases[] = {
      {Bytes(), ""}, {noEmptyFirst, ""}, {unending, "runs past"}, {twice, "repeats"}};
  for (const auto& [file, error] : cases) {
    const auto parsed = ParseResIndex(file.Span());
    ASSERT_FALSE(parsed);
    EXPECT_NE(parsed.error().find(error), std::string::npos) << parsed.error();
  }
}

TEST(ResIndex, NamedEntriesAlignTheirFields) {
  // A type and name of odd lengths: the fields that follow start on a DWORD boundary.
  Bytes file = ResHeader();
  file.U32(2).U32(8 + 6 + 4 + 2 + 16).Str(u"AB").U16(0xFFFF).U16(3).U16(0);  // "AB\0" + ordinal + pad
  file.U32(0).U16(0).U16(0x0C0A).U32(0).U32(0).U16(0xBEEF).Pad4();
  const auto parsed = ParseResIndex(file.Span());
  ASSERT_TRUE(parsed) << parsed.error();
  ASSERT_EQ(parsed->size(), 1U);
  const ResEntry& entry = (*parsed)[0];
  EXPECT_EQ(std::make_tuple(entry.type.name, entry.name.id, entry.language, entry.data.size()),
            std::make_tuple(u"AB", 3, 0x0C0A, 2U));
}

}  // namespace
