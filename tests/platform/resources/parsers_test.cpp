// String bundles, menus and plain dialogs read back from test.rc (the loaders and the
// About picture read the rest), and damaged forms of every kind refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>

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
using restest::DataOf;

// What a parser makes of `data`: "" when accepted, else its message ("no message" if it gives none).
template <class Parse>
std::function<std::string(std::span<const std::byte>)> Verdict(Parse parse) {
  return [parse](std::span<const std::byte> data) {
    const auto parsed = parse(data);
    return parsed ? std::string() : parsed.error().empty() ? std::string("no message") : parsed.error();
  };
}

TEST(StringBundle, SlotsHoldTheCountedStrings) {
  EXPECT_EQ(BundleOf(0xFFFF), 4096);
  const auto spanish = ParseStringBundle(DataOf(6, 1));
  ASSERT_TRUE(spanish) << spanish.error();
  EXPECT_EQ((*spanish)[1], u"Tiempo r\u00E9cord");
  EXPECT_TRUE((*spanish)[0].empty() && (*spanish)[15].empty());
}

TEST(Menu, PopupWithItemsAndATopLevelItem) {
  const auto menu = ParseMenu(DataOf(4, IDM_MAIN));
  ASSERT_TRUE(menu) << menu.error();
  ASSERT_EQ(menu->items.size(), 2U);
  const MenuItem& game = menu->items[0];
  ASSERT_EQ(game.children.size(), 3U);
  // The last child's flags: MF_GRAYED, MF_END dropped.
  EXPECT_EQ(std::make_tuple(game.IsPopup(), game.children[0].text, game.children[0].id, game.children[2].flags,
                            menu->items[1].id, menu->items[1].IsPopup()),
            std::make_tuple(true, u"&Nuevo", IDM_GAME_NEW, 0x01, IDM_HELP, false));
}

TEST(Dialog, PlainTemplate) {
  const auto plain = ParseDialog(DataOf(5, IDD_PAUSE));
  ASSERT_TRUE(plain) << plain.error();
  ASSERT_EQ(plain->items.size(), 3U);
  const DialogItem& button = plain->items[0];
  EXPECT_EQ(std::make_tuple(plain->extended, plain->style, plain->title, plain->typeface,
                            PredefinedClassName(button.windowClass.id), button.text.name, plain->items[2].id),
            std::make_tuple(false, 0x80C80000U | kDsSetFont, u"Pausa", u"Tahoma", u"Button", u"Seguir", IDC_LABEL));
  EXPECT_EQ(plain->items[1].text, ResId{});
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

TEST(Parsers, DamageIsRefusedWithAMessage) {
  const auto bundle = Verdict(ParseStringBundle);
  const auto accelerators = Verdict(ParseAccelerators);
  const auto menu = Verdict(ParseMenu);
  const auto dialog = Verdict(ParseDialog);
  const auto icons = Verdict(ParseGroupIcon);
  // Every shorter prefix of each compiled resource.
  const std::pair<decltype(menu), std::span<const std::byte>> whole[] = {
      {bundle, DataOf(6, 1)},         {accelerators, DataOf(9, IDA_MAIN)}, {menu, DataOf(4, IDM_MAIN)},
      {dialog, DataOf(5, IDD_PAUSE)}, {dialog, DataOf(5, IDD_PAUSE_EX)},   {icons, DataOf(14, IDI_APP)}};
  for (const auto& [parse, data] : whole) {
    for (std::size_t length = 0; length < data.size(); ++length) {
      EXPECT_NE(parse(data.first(length)), "") << data.size() << " bytes cut to " << length;
    }
  }
  Bytes sixteenEmpty;
  for (int i = 0; i < 16; ++i) {
    sixteenEmpty.U16(0);
  }
  Bytes lastEntry;
  lastEntry.U16(0x81).U16('A').U16(1).U16(0);
  Bytes deep;  // popups nested without end
  deep.U16(0).U16(0);
  for (int i = 0; i < 10000; ++i) {
    deep.U16(0x10).Str(u"p");
  }
  const auto pause = DataOf(5, IDD_PAUSE);
  std::vector<std::byte> moreItems(pause.begin(), pause.end());
  moreItems[8] = std::byte{4};
  Bytes creationData;  // longer than what is left
  creationData.U32(0).U32(0).U16(1).U16(0).U16(0).U16(1).U16(1).U16(0).U16(0).U16(0).Pad4();
  creationData.U32(0).U32(0).U16(0).U16(0).U16(1).U16(1).U16(1).U16(0xFFFF).U16(0x80).U16(0).U16(0xFFFF);
  // The parser, what it is given, and part of its message (null: accepted).
  const std::tuple<const char*, std::function<std::string(std::span<const std::byte>)>, Bytes, const char*> cases[] = {
      {"a string longer than its bundle", bundle, Bytes().U16(0xFFFF), ""},
      {"sixteen empty strings", bundle, sixteenEmpty, nullptr},
      {"a seventeenth string", bundle, Bytes(sixteenEmpty).U16(0), ""},
      {"accelerators without an end mark", accelerators, Bytes().U16(0x01).U16('A').U16(1).U16(0), ""},
      {"one accelerator with the end mark", accelerators, lastEntry, nullptr},
      {"an accelerator after the end mark", accelerators, Bytes(lastEntry).U16(0x81).U16('B').U16(2).U16(0), ""},
      {"accelerator flags beyond the known", accelerators, Bytes().U16(0x80 | 0x40).U16('A').U16(1).U16(0), ""},
      {"an extended menu", menu, Bytes().U16(1).U16(4).U32(0), ""},
      {"a menu header longer than the menu", menu, Bytes().U16(0).U16(0xFFFF), ""},
      {"popups nested past the depth limit", menu, deep, "deeper"},
      {"too short for a dialog's style", dialog, Bytes().U16(0), ""},
      {"more dialog items claimed than present", dialog, Bytes().Append(moreItems), ""},
      {"creation data past the end", dialog, creationData, ""},
      {"a cursor group", icons, Bytes().U16(0).U16(2).U16(0), ""},
      {"an empty icon group", icons, Bytes().U16(0).U16(1).U16(0), ""},
  };
  for (const auto& [name, parse, data, error] : cases) {
    const std::string verdict = parse(data.Span());
    if (error == nullptr) {
      EXPECT_EQ(verdict, "") << name;
    } else {
      EXPECT_NE(verdict.find(error), std::string::npos) << name << ": " << verdict;
      EXPECT_NE(verdict, "") << name;
    }
  }
}

}  // namespace
