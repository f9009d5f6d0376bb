// LoadStringW, LoadAcceleratorsW, LoadIconW, LoadBitmapW, the parsed look-ups for the
// other areas, and the boot-time check.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/resources/accelerator_table.h"
#include "platform/resources/icon.h"
#include "platform/resources/resource_access.h"
#include "platform/resources/validate.h"
#include "resource_test_support.h"
#include "test_ids.h"

namespace {

using Loaders = restest::EmbeddedModule;
using restest::AddEntry;
using restest::Bytes;

TEST_F(Loaders, LoadStringCopiesTruncatesTerminatesOrPoints) {
  WCHAR buffer[32];
  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, 5), 4);
  EXPECT_EQ(std::u16string(buffer), u"Tiem");
  buffer[0] = u'x';
  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
  // No room: a pointer to the string in the resource.
  LPCWSTR text = nullptr;
  ASSERT_EQ(LoadStringW(module, IDS_LAP, reinterpret_cast<LPWSTR>(&text), 0), 10);
  EXPECT_EQ(std::u16string(text, 10), u"Vuelta \u00F1 \u20AC");
}

TEST_F(Loaders, LoadStringOfMissingStrings) {
  WCHAR buffer[8] = {u'x'};
  // Bundle 1 in Spanish has no slot 2, though the neutral bundle does: Windows picks the
  // bundle first, then the slot.
  EXPECT_EQ(LoadStringW(module, IDS_NEUTRAL_ONLY, buffer, 8), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(LoadStringW(module, 999, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadStringW(module, IDS_TIME, nullptr, 8), 0);
  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadStringW(nullptr, IDS_TIME, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Each loader hands its parsed resource to its area behind a handle of its own kind.
TEST_F(Loaders, HandlesCarryTheParsedResources) {
  HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDA_MAIN));
  const auto entries = handset::AcceleratorsFromHandle(table);
  ASSERT_NE(entries, nullptr);
  EXPECT_EQ(entries->entries[1].cmd, IDM_GAME_EXIT);
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HICON handle = LoadIconW(module, MAKEINTRESOURCEW(IDI_APP));
  const auto icon = handset::IconFromHandle(handle);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(std::pair(icon->width, icon->pixels[8]), std::pair(3, 0x9FC00202U));  // the largest image
  EXPECT_TRUE(DestroyIcon(handle));
  EXPECT_FALSE(DestroyIcon(handle));

  const auto bitmap = handset::BitmapFromHandle(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_CAR)));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->At(1, 1), 0x112233U);
  EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(IDI_APP)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

  EXPECT_EQ(handset::FindDialogTemplate(module, MAKEINTRESOURCEW(IDD_PAUSE))->items.size(), 3U);
  EXPECT_EQ(handset::FindRcData(module, MAKEINTRESOURCEW(IDR_TRACK))->size(), 5U);
  EXPECT_FALSE(handset::FindMenu(module, MAKEINTRESOURCEW(99)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(Loaders, MalformedResourcesFailTheirLoaderWithInvalidData) {
  Bytes file = restest::ResHeader();
  const std::byte junk[8] = {std::byte{1}, std::byte{2}, std::byte{3}};
  for (const unsigned type : {2U, 4U, 5U, 9U, 14U}) {
    AddEntry(file, type, 1, 0, junk);
  }
  HINSTANCE bad = handset::AddProgramModule(u"bad.exe", file.Span());
  const std::vector<std::pair<const char*, std::function<bool()>>> loaders = {
      {"bitmap", [bad] { return LoadBitmapW(bad, MAKEINTRESOURCEW(1)) != nullptr; }},
      {"menu", [bad] { return handset::FindMenu(bad, MAKEINTRESOURCEW(1)).has_value(); }},
      {"dialog", [bad] { return handset::FindDialogTemplate(bad, MAKEINTRESOURCEW(1)).has_value(); }},
      {"accelerators", [bad] { return LoadAcceleratorsW(bad, MAKEINTRESOURCEW(1)) != nullptr; }},
      {"icon", [bad] { return LoadIconW(bad, MAKEINTRESOURCEW(1)) != nullptr; }},
  };
  for (const auto& [name, load] : loaders) {
    SetLastError(0);
    EXPECT_FALSE(load()) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << name;
  }
}

TEST(ValidateResources, AcceptsTheScriptAndNamesTheFirstFault) {
  EXPECT_EQ(handset::ValidateResources(EmbeddedResources()), "");

  const std::vector<std::byte> cut(EmbeddedResources().begin(), EmbeddedResources().begin() + 45);
  EXPECT_NE(handset::ValidateResources(cut).find("entry 1"), std::string::npos);

  Bytes file = restest::ResHeader();
  const std::byte menu[4] = {};  // header only: no item marked last
  AddEntry(file, 4, 3, 0x0C0A, menu);
  EXPECT_EQ(handset::ValidateResources(file.Span()),
            "resources: type 4, name 3, language 0xC0A: menu ends before an item marked last");

  Bytes orphan = restest::ResHeader();
  Bytes group;
  group.U16(0).U16(1).U16(1).U8(16).U8(16).U8(0).U8(0).U16(1).U16(32).U32(40).U16(9);
  AddEntry(orphan, 14, 1, 0, group.Span());
  EXPECT_NE(handset::ValidateResources(orphan.Span()).find("icon image 9"), std::string::npos);
}

}  // namespace
