// String bundles, accelerators, menus, dialogs and icon groups: the compiled forms of
// test.rc read back field by field, and damaged forms refused.
#include <gtest/gtest.h>

#include "platform/resources/accelerators.h"
#include "platform/resources/byte_reader.h"
#include "platform/resources/dialog.h"
#include "platform/resources/group_icon.h"
#include "platform/resources/menu.h"
#include "platform/resources/res_index.h"
#include "platform/resources/string_table.h"
#include "resource_test_support.h"
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
  EXPECT_EQ(BundleOf(IDS_TIME), 1);
  EXPECT_EQ(SlotOf(IDS_TIME), 1U);
  EXPECT_EQ(BundleOf(IDS_LAP), 2);
  EXPECT_EQ(SlotOf(IDS_LAP), 1U);
  EXPECT_EQ(BundleOf(0xFFFF), 4096);

  const auto spanish = ParseStringBundle(DataOf(6, 1));
  ASSERT_TRUE(spanish) << spanish.error();
  EXPECT_EQ((*spanish)[1], u"Tiempo r\u00E9cord");
  EXPECT_TRUE((*spanish)[0].empty());
  EXPECT_TRUE((*spanish)[15].empty());
  const auto lap = ParseStringBundle(DataOf(6, 2));
  ASSERT_TRUE(lap);
  EXPECT_EQ((*lap)[1], u"Vuelta \u00F1 \u20AC");
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
  EXPECT_EQ((*table)[0].flags, 0x01 | 0x08);  // FVIRTKEY | FCONTROL, end mark dropped
  EXPECT_EQ((*table)[0].key, 'A');
  EXPECT_EQ((*table)[0].command, 100);
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
  EXPECT_EQ(game.text, u"&Juego");
  ASSERT_EQ(game.children.size(), 3U);
  EXPECT_EQ(game.children[0].text, u"&Nuevo");
  EXPECT_EQ(game.children[0].id, IDM_GAME_NEW);
  EXPECT_EQ(game.children[1].text, u"");  // separator
  EXPECT_EQ(game.children[1].id, 0);
  EXPECT_EQ(game.children[2].id, IDM_GAME_EXIT);
  EXPECT_EQ(game.children[2].flags, 0x01);  // MF_GRAYED, MF_END dropped
  EXPECT_EQ(menu->items[1].text, u"Ayuda");
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

TEST(Dialog, PlainTemplateWithThreeControls) {
  const auto dialog = ParseDialog(DataOf(5, IDD_PAUSE));
  ASSERT_TRUE(dialog) << dialog.error();
  EXPECT_FALSE(dialog->extended);
  EXPECT_EQ(dialog->style, 0x80C80000U | kDsSetFont);
  EXPECT_EQ(dialog->x, 10);
  EXPECT_EQ(dialog->y, 20);
  EXPECT_EQ(dialog->cx, 100);
  EXPECT_EQ(dialog->cy, 60);
  EXPECT_EQ(dialog->menu, ResId{});
  EXPECT_EQ(dialog->windowClass, ResId{});
  EXPECT_EQ(dialog->title, u"Pausa");
  EXPECT_TRUE(dialog->hasFont);
  EXPECT_EQ(dialog->pointSize, 8);
  EXPECT_EQ(dialog->typeface, u"Tahoma");
  ASSERT_EQ(dialog->items.size(), 3U);

  const DialogItem& button = dialog->items[0];
  EXPECT_EQ(button.windowClass, (ResId{0x80, {}}));
  EXPECT_EQ(PredefinedClassName(button.windowClass.id), u"Button");
  EXPECT_EQ(button.text.name, u"Seguir");
  EXPECT_EQ(button.id, 1U);
  EXPECT_EQ(button.style & 0x0FU, 1U);  // BS_DEFPUSHBUTTON
  EXPECT_EQ(button.x, 10);
  EXPECT_EQ(button.y, 40);
  EXPECT_EQ(button.cx, 30);
  EXPECT_EQ(button.cy, 12);

  EXPECT_EQ(dialog->items[1].windowClass, (ResId{0x81, {}}));
  EXPECT_EQ(dialog->items[1].id, static_cast<unsigned>(IDC_NAME));
  EXPECT_EQ(dialog->items[1].text, ResId{});
  EXPECT_EQ(dialog->items[2].windowClass, (ResId{0x82, {}}));
  EXPECT_EQ(dialog->items[2].text.name, u"Piloto:");
  EXPECT_EQ(dialog->items[2].id, static_cast<unsigned>(IDC_LABEL));
}

TEST(Dialog, ExtendedTemplateWithANamedClass) {
  const auto dialog = ParseDialog(DataOf(5, IDD_PAUSE_EX));
  ASSERT_TRUE(dialog) << dialog.error();
  EXPECT_TRUE(dialog->extended);
  EXPECT_EQ(dialog->title, u"M\u00E1s");
  EXPECT_EQ(dialog->pointSize, 9);
  EXPECT_EQ(dialog->weight, 700);
  EXPECT_EQ(dialog->italic, 1);
  EXPECT_EQ(dialog->typeface, u"Tahoma");
  ASSERT_EQ(dialog->items.size(), 1U);
  const DialogItem& item = dialog->items[0];
  EXPECT_EQ(item.windowClass.name, u"TrackView");
  EXPECT_EQ(item.text.name, u"x");
  EXPECT_EQ(item.id, 12U);
  EXPECT_EQ(item.style, 0x50000000U);
  EXPECT_EQ(item.x, 1);
  EXPECT_EQ(item.cy, 4);
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
