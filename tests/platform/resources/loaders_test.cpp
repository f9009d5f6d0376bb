// LoadStringW, LoadAcceleratorsW, LoadIconW, LoadBitmapW, the parsed look-ups for the
// other areas, and the boot-time check.
#include <gtest/gtest.h>

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

TEST_F(Loaders, LoadStringCopiesTruncatesAndTerminates) {
  WCHAR buffer[32];
  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, 32), 13);
  EXPECT_EQ(std::u16string(buffer), u"Tiempo r\u00E9cord");
  EXPECT_EQ(LoadStringW(module, IDS_LAP, buffer, 32), 10);
  EXPECT_EQ(std::u16string(buffer), u"Vuelta \u00F1 \u20AC");

  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, 5), 4);
  EXPECT_EQ(std::u16string(buffer), u"Tiem");
  buffer[0] = u'x';
  EXPECT_EQ(LoadStringW(module, IDS_TIME, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(Loaders, LoadStringWithNoRoomGivesAPointer) {
  LPCWSTR text = nullptr;
  const int length = LoadStringW(module, IDS_TIME, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_EQ(length, 13);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text, 13), u"Tiempo r\u00E9cord");
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

TEST_F(Loaders, AcceleratorsForCtrlAAndCtrlQ) {
  HACCEL table = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDA_MAIN));
  ASSERT_NE(table, nullptr);
  const auto entries = handset::AcceleratorsFromHandle(table);
  ASSERT_NE(entries, nullptr);
  ASSERT_EQ(entries->entries.size(), 2U);
  EXPECT_EQ(entries->entries[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries->entries[0].key, 'A');
  EXPECT_EQ(entries->entries[1].key, 'Q');
  EXPECT_EQ(entries->entries[1].cmd, IDM_GAME_EXIT);
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LoadAcceleratorsW(module, MAKEINTRESOURCEW(2)), nullptr);
}

TEST_F(Loaders, IconIsTheLargestImageDecoded) {
  HICON handle = LoadIconW(module, MAKEINTRESOURCEW(IDI_APP));
  ASSERT_NE(handle, nullptr);
  const auto icon = handset::IconFromHandle(handle);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->width, 3);
  EXPECT_EQ(icon->height, 3);
  ASSERT_EQ(icon->pixels.size(), 9U);
  EXPECT_EQ(icon->pixels[0], 0x1FC00000U);
  EXPECT_EQ(icon->pixels[8], 0x9FC00202U);
  EXPECT_TRUE(DestroyIcon(handle));
  EXPECT_FALSE(DestroyIcon(handle));
}

TEST_F(Loaders, BitmapHandsItsPixelsToTheDrawingArea) {
  HBITMAP handle = LoadBitmapW(module, MAKEINTRESOURCEW(IDB_CAR));
  ASSERT_NE(handle, nullptr);
  const auto bitmap = handset::BitmapFromHandle(handle);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->Width(), 3);
  ASSERT_EQ(bitmap->Height(), 2);
  EXPECT_EQ(bitmap->At(0, 0), 0x010233U);
  EXPECT_EQ(bitmap->At(2, 0), 0x210233U);
  EXPECT_EQ(bitmap->At(1, 1), 0x112233U);
  EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCEW(IDI_APP)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(Loaders, ParsedMenuDialogAndRcData) {
  const auto menu = handset::FindMenu(module, MAKEINTRESOURCEW(IDM_MAIN));
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->items.size(), 2U);
  const auto dialog = handset::FindDialogTemplate(module, MAKEINTRESOURCEW(IDD_PAUSE));
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->items.size(), 3U);
  const auto data = handset::FindRcData(module, MAKEINTRESOURCEW(IDR_TRACK));
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size(), 5U);
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
  EXPECT_EQ(LoadBitmapW(bad, MAKEINTRESOURCEW(1)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_FALSE(handset::FindMenu(bad, MAKEINTRESOURCEW(1)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_FALSE(handset::FindDialogTemplate(bad, MAKEINTRESOURCEW(1)));
  EXPECT_EQ(LoadAcceleratorsW(bad, MAKEINTRESOURCEW(1)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(LoadIconW(bad, MAKEINTRESOURCEW(1)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
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
