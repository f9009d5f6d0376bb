// String bundles, accelerators, menus, dialogs and icon groups: the compiled forms of
// test.rc read back field by field, and damaged forms refused.
#include <gtest/gtest.h>

#include "resource_test_support.h"
#include "resources/accelerators.h"
#include "resources/byte_reader.h"
#include "resources/dialog.h"
#include "resources/group_icon.h"
#include "resources/menu.h"
#include "resources/res_index.h"
#include "resources/string_table.h"
#include "test_ids.h"

namespace {

using namespace handset::res;  // NOLINT(google-build-using-namespace): the parsers under test
using restest::Bytes;

std::span<const std::byte> DataOf(unsigned type, unsigned name, unsigned language = 0x0C0A) {
  static const auto index = ParseResIndex(EmbeddedResources());
  for (const ResEntry& entry : *index) {
    if (entry.type == ResId{static_cast<std::uint16_t>(type), {}} &&
        entry.name == ResId{static_cast<std::uint16_t>(name), {}} && entry.language == language) {
      return entry.data;
    }
  }
  ADD_FAILURE() << "no resource " << type << "/" << name;
  return {};
}

// Every shorter prefix of `data` is refused by `parse` with a message.
template <class Parse>
void EveryPrefixRefused(std::span<const std::byte> data, Parse parse) {
  for (std::size_t length = 0; length < data.size(); ++length) {
    const auto parsed = parse(data.first(length));
    EXPECT_FALSE(parsed) << "length " << length;
    EXPECT_FALSE(!parsed && parsed.error().empty());
  }
}

TEST(StringBundle, SlotsHoldTheCountedStrings) {
  EXPECT_EQ(BundleOf(IDS_LAP), 2);
  EXPECT_EQ(SlotOf(IDS_LAP), 1U);
  EXPECT_EQ(BundleOf(0xFFFF), 4096);
  const auto spanish = ParseStringBundle(DataOf(6, 1));
  ASSERT_TRUE(spanish) << spanish.error();
  EXPECT_EQ((*spanish)[1], u"Tiempo r\u00E9cord");
  EXPECT_TRUE((*spanish)[0].empty() && (*spanish)[15].empty());
}

TEST(StringBundle, DamageIsRefused) {
  EveryPrefixRefused(DataOf(6, 1), ParseStringBundle);
  Bytes tooLong;
  tooLong.U16(0xFFFF);
  EXPECT_FALSE(ParseStringBundle(tooLong.Span()));
  Bytes trailing;
  for (int i = 0; i < 16; ++i) {
    trailing.U16(0);
  }
  ASSERT_TRUE(ParseStringBundle(trailing.Span()));
  trailing.U16(0);
  EXPECT_FALSE(ParseStringBundle(trailing.Span()));
}

TEST(Accelerators, CtrlAAndCtrlQ) {
  const auto table = ParseAccelerators(DataOf(9, IDA_MAIN));
  ASSERT_TRUE(table) << table.error();
  ASSERT_EQ(table->size(), 2U);
  // FVIRTKEY | FCONTROL, the end mark dropped.
  EXPECT_EQ((*table)[1].flags, 0x01 | 0x08);
  EXPECT_EQ((*table)[1].key, 'Q');
  EXPECT_EQ((*table)[1].command, IDM_GAME_EXIT);
}

TEST(Accelerators, DamageIsRefused) {
  EveryPrefixRefused(DataOf(9, IDA_MAIN), ParseAccelerators);
  Bytes noEnd;
  noEnd.U16(0x01).U16('A').U16(1).U16(0);
  EXPECT_FALSE(ParseAccelerators(noEnd.Span()));
  Bytes afterEnd = noEnd;
  afterEnd.Data()[0] = std::byte{0x81};
  ASSERT_TRUE(ParseAccelerators(afterEnd.Span()));
  afterEnd.U16(0x81).U16('B').U16(2).U16(0);
  EXPECT_FALSE(ParseAccelerators(afterEnd.Span()));
  Bytes oddFlags;
  oddFlags.U16(0x80 | 0x40).U16('A').U16(1).U16(0);
  EXPECT_FALSE(ParseAccelerators(oddFlags.Span()));
}

TEST(Menu, PopupWithItemsAndATopLevelItem) {
  const auto menu = ParseMenu(DataOf(4, IDM_MAIN));
  ASSERT_TRUE(menu) << menu.error();
  ASSERT_EQ(menu->items.size(), 2U);
  const MenuItem& game = menu->items[0];
  EXPECT_TRUE(game.IsPopup());
  ASSERT_EQ(game.children.size(), 3U);
  EXPECT_EQ(game.children[0].text, u"&Nuevo");
  EXPECT_EQ(game.children[0].id, IDM_GAME_NEW);
  EXPECT_EQ(game.children[2].flags, 0x01);  // MF_GRAYED, MF_END dropped
  EXPECT_EQ(menu->items[1].id, IDM_HELP);
  EXPECT_FALSE(menu->items[1].IsPopup());
}

TEST(Menu, DamageIsRefused) {
  EveryPrefixRefused(DataOf(4, IDM_MAIN), ParseMenu);
  Bytes extended;
  extended.U16(1).U16(4).U32(0);
  EXPECT_FALSE(ParseMenu(extended.Span()));
  Bytes hugeHeader;
  hugeHeader.U16(0).U16(0xFFFF);
  EXPECT_FALSE(ParseMenu(hugeHeader.Span()));
  // Popups nested without end: refused at the depth limit, not by running out of stack.
  Bytes deep;
  deep.U16(0).U16(0);
  for (int i = 0; i < 10000; ++i) {
    deep.U16(0x10).Str(u"p");
  }
  const auto parsed = ParseMenu(deep.Span());
  ASSERT_FALSE(parsed);
  EXPECT_NE(parsed.error().find("deeper"), std::string::npos) << parsed.error();
}

TEST(Dialog, PlainAndExtendedTemplates) {
  const auto plain = ParseDialog(DataOf(5, IDD_PAUSE));
  ASSERT_TRUE(plain) << plain.error();
  EXPECT_FALSE(plain->extended);
  EXPECT_EQ(plain->style, 0x80C80000U | kDsSetFont);
  EXPECT_EQ(plain->y, 20);
  EXPECT_EQ(plain->cy, 60);
  EXPECT_EQ(plain->title, u"Pausa");
  EXPECT_EQ(plain->typeface, u"Tahoma");
  ASSERT_EQ(plain->items.size(), 3U);
  const DialogItem& button = plain->items[0];
  EXPECT_EQ(PredefinedClassName(button.windowClass.id), u"Button");
  EXPECT_EQ(button.text.name, u"Seguir");
  EXPECT_EQ(button.x, 10);
  EXPECT_EQ(button.cy, 12);
  EXPECT_EQ(plain->items[1].text, ResId{});
  EXPECT_EQ(plain->items[2].id, static_cast<unsigned>(IDC_LABEL));

  const auto extended = ParseDialog(DataOf(5, IDD_PAUSE_EX));
  ASSERT_TRUE(extended) << extended.error();
  EXPECT_TRUE(extended->extended);
  EXPECT_EQ(extended->weight, 700);
  EXPECT_EQ(extended->italic, 1);
  EXPECT_EQ(extended->typeface, u"Tahoma");
  ASSERT_EQ(extended->items.size(), 1U);
  EXPECT_EQ(extended->items[0].windowClass.name, u"TrackView");
  EXPECT_EQ(extended->items[0].style, 0x50000000U);
  EXPECT_EQ(extended->items[0].cy, 4);
}

// A failed read leaves the reader failed: later reads that would fit fail as well.
TEST(ByteReader, AFailureIsSticky) {
  const std::byte bytes[3] = {};
  ByteReader reader(bytes);
  EXPECT_FALSE(reader.U32());
  EXPECT_TRUE(reader.Failed());
  EXPECT_FALSE(reader.U16());
  EXPECT_FALSE(reader.U8());
  EXPECT_FALSE(reader.Skip(0));
  EXPECT_FALSE(reader.Align(1));
}

TEST(Dialog, DamageIsRefused) {
  EveryPrefixRefused(DataOf(5, IDD_PAUSE), ParseDialog);
  EveryPrefixRefused(DataOf(5, IDD_PAUSE_EX), ParseDialog);
  // Too short for the style, yet long enough for the reads after it.
  const std::byte twoZeros[2] = {};
  EXPECT_FALSE(ParseDialog(twoZeros));
  // More items claimed than present.
  const auto data = DataOf(5, IDD_PAUSE);
  std::vector<std::byte> moreItems(data.begin(), data.end());
  moreItems[8] = std::byte{4};
  EXPECT_FALSE(ParseDialog(moreItems));
  // Creation data longer than what is left.
  Bytes dialog;
  dialog.U32(0).U32(0).U16(1).U16(0).U16(0).U16(1).U16(1).U16(0).U16(0).U16(0).Pad4();
  dialog.U32(0).U32(0).U16(0).U16(0).U16(1).U16(1).U16(1).U16(0xFFFF).U16(0x80).U16(0).U16(0xFFFF);
  EXPECT_FALSE(ParseDialog(dialog.Span()));
}

TEST(GroupIcon, ListsBothImagesAndPicksTheLargest) {
  const auto group = ParseGroupIcon(DataOf(14, IDI_APP));
  ASSERT_TRUE(group) << group.error();
  ASSERT_EQ(group->size(), 2U);
  EXPECT_EQ((*group)[0].width, 2);
  EXPECT_EQ((*group)[0].bitCount, 32);
  const GroupIconEntry& largest = LargestIcon(*group);
  EXPECT_EQ(largest.width, 3);
  EXPECT_EQ(largest.height, 3);
  EXPECT_EQ(largest.iconId, (*group)[1].iconId);
  EXPECT_FALSE(DataOf(3, largest.iconId).empty());
}

TEST(GroupIcon, DamageIsRefused) {
  EveryPrefixRefused(DataOf(14, IDI_APP), ParseGroupIcon);
  Bytes cursor;
  cursor.U16(0).U16(2).U16(0);
  EXPECT_FALSE(ParseGroupIcon(cursor.Span()));
  Bytes empty;
  empty.U16(0).U16(1).U16(0);
  EXPECT_FALSE(ParseGroupIcon(empty.Span()));
}

}  // namespace
