// FindResourceW and its handles: matching by number or case-blind name, the language
// order, and errors for what is missing or not open.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "resource_test_support.h"
#include "test_ids.h"

namespace {

using FindResource = restest::EmbeddedModule;

std::u16string StringBundleText(HMODULE module, HRSRC found) {
  // Slot 1 of bundle 1 (IDS_TIME): the first string is empty, the second counted.
  const auto* units = static_cast<const char16_t*>(LockResource(LoadResource(module, found)));
  return units == nullptr ? u"" : std::u16string(units + 2, units[1]);
}

TEST_F(FindResource, NumbersNamesAndHashNumbers) {
  HRSRC byId = FindResourceW(module, MAKEINTRESOURCEW(IDR_TRACK), RT_RCDATA);
  ASSERT_NE(byId, nullptr);
  EXPECT_EQ(FindResourceW(module, TEXT("#5"), RT_RCDATA), byId);
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDR_TRACK), TEXT("#10")), byId);
  EXPECT_EQ(SizeofResource(module, byId), 5U);
  const void* data = LockResource(LoadResource(module, byId));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::memcmp(data, "abc\x34\x12", 5), 0);

  HRSRC named = FindResourceW(module, TEXT("nAmEd"), RT_RCDATA);
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(SizeofResource(module, named), 5U);
  EXPECT_EQ(std::memcmp(LockResource(LoadResource(module, named)), "named", 5), 0);
}

TEST_F(FindResource, RepeatedLookUpsShareHandles) {
  const std::size_t before = handset::TheHandset().objects.Size();
  HRSRC first = FindResourceW(module, MAKEINTRESOURCEW(IDB_CAR), RT_BITMAP);
  HGLOBAL loaded = LoadResource(module, first);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDB_CAR), RT_BITMAP), first);
    EXPECT_EQ(LoadResource(module, first), loaded);
  }
  EXPECT_EQ(handset::TheHandset().objects.Size(), before + 2);
}

TEST_F(FindResource, SpanishThenNeutralThenAny) {
  // Bundle 1 exists in Spanish, neutral and English: Spanish wins.
  EXPECT_EQ(StringBundleText(module, FindResourceW(module, MAKEINTRESOURCEW(1), RT_STRING)), u"Tiempo r\u00E9cord");
  EXPECT_EQ(StringBundleText(module, FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(1), 0)), u"Time");
  EXPECT_EQ(StringBundleText(module, FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(1), 0x0409)), u"English time");
  // Spanish wins also where it comes after the neutral one.
  EXPECT_EQ(std::memcmp(LockResource(LoadResource(module, FindResourceW(module, TEXT("TWICE"), RT_RCDATA))), "es", 2),
            0);
  // A language asked for by name is that language or nothing.
  EXPECT_EQ(FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(1), 0x0407), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST_F(FindResource, MissingTypeNameOrModule) {
  const std::byte junk[40] = {};
  const std::tuple<HMODULE, LPCWSTR, LPCWSTR, DWORD> cases[] = {
      {module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(77), ERROR_RESOURCE_TYPE_NOT_FOUND},
      {module, MAKEINTRESOURCEW(99), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
      {module, TEXT("NAMED2"), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
      {nullptr, MAKEINTRESOURCEW(IDR_TRACK), RT_RCDATA, ERROR_INVALID_HANDLE},
      {handset::AddProgramModule(u"bare.exe", {}), MAKEINTRESOURCEW(IDR_TRACK), RT_RCDATA,
       ERROR_RESOURCE_DATA_NOT_FOUND},
      {handset::AddProgramModule(u"broken.exe", junk), MAKEINTRESOURCEW(IDR_TRACK), RT_RCDATA,
       ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const auto& [from, name, type, error] : cases) {
    SetLastError(0);
    EXPECT_EQ(FindResourceW(from, name, type), nullptr);
    EXPECT_EQ(GetLastError(), error);
  }
}

TEST_F(FindResource, HandlesNotOpenOrOfAnotherModule) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_TRACK), RT_RCDATA);
  HINSTANCE other = handset::AddProgramModule(u"other.exe", EmbeddedResources());
  EXPECT_EQ(LoadResource(other, found), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(module, nullptr), 0U);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LockResource(reinterpret_cast<HGLOBAL>(found)), nullptr);  // an HRSRC is not loaded data
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LoadResource(reinterpret_cast<HMODULE>(found), found), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
