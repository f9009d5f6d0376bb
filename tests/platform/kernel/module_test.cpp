// Modules by name: real libraries from the module folder, built-in ones, and the hooks
// that make either look missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <bit>
#include <cstdint>
#include <string>
#include <tuple>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/kernel/modules.h"
#include "support/fresh_handset.h"

namespace {

const std::filesystem::path kModules = KERNEL_TEST_MODULES;

using AnswerProc = int (*)(int);
using CallsProc = int (*)();

// FARPROC to the entry's real type; a plain cast between function types is warned of.
template <class Proc>
Proc As(FARPROC proc) {
  return std::bit_cast<Proc>(proc);
}

std::intptr_t BuiltinFullScreen() { return 42; }

class Modules : public testsupport::FreshHandset {
 protected:
  Modules() { handset::TheHandset().moduleFolder = kModules; }
  static void ExpectNoEntry(HMODULE module, LPCWSTR name) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(module, name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  }
};

// Any case, and no extension meaning ".dll", name the same module.
TEST_F(Modules, SameLibraryIsCountedAndUnloadedAtZero) {
  HMODULE first = LoadLibraryW(u"TestVendor.dll");
  HMODULE second = LoadLibraryW(u"testVENDOR");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(second, first);
  const auto answer = As<AnswerProc>(GetProcAddressW(first, u"VendorAnswer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(20), 41);
  const auto calls = As<CallsProc>(GetProcAddressW(first, u"VendorCalls"));
  ASSERT_NE(calls, nullptr);
  EXPECT_EQ(calls(), 1);

  EXPECT_TRUE(FreeLibrary(first));
  ASSERT_NE(GetProcAddressW(second, u"VendorCalls"), nullptr);
  EXPECT_EQ(calls(), 2);
  EXPECT_TRUE(FreeLibrary(second));
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HMODULE again = LoadLibraryW(u"TestVendor.dll");
  EXPECT_NE(again, first);
  const auto fresh = As<CallsProc>(GetProcAddressW(again, u"VendorCalls"));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh(), 1);
}

TEST_F(Modules, OnlyTheLibrarysOwnExportsAreFound) {
  HMODULE vendor = LoadLibraryW(u"TestVendor.dll");
  ASSERT_NE(vendor, nullptr);
  const char16_t loneSurrogate[] = {u'V', 0xD800, 0};
  const auto ordinal = reinterpret_cast<LPCWSTR>(std::uintptr_t{7});  // NOLINT(performance-no-int-to-ptr)
  // VendorInternal is not exported, malloc is the C library's.
  for (LPCWSTR name : {u"NoSuchEntry", u"vendoranswer", u"VendorInternal", u"malloc", u"", LPCWSTR{}, ordinal,
                       static_cast<LPCWSTR>(loneSurrogate)}) {
    ExpectNoEntry(vendor, name);
  }
}

// A name with a path is refused even where the path leads to a library.
TEST_F(Modules, MissingModulesNonLibrariesAndNamesWithAPath) {
  const std::tuple<std::filesystem::path, LPCWSTR, long> cases[] = {
      {kModules, u"Absent.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"Folder.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"", ERROR_MOD_NOT_FOUND},
      {kModules, u"NotALibrary.dll", ERROR_BAD_EXE_FORMAT},
      {kModules, nullptr, ERROR_INVALID_PARAMETER},
      {{}, u"TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules / "absent", u"TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"inner/Inner.dll", ERROR_MOD_NOT_FOUND},
      {kModules / "inner", u"../TestVendor.dll", ERROR_MOD_NOT_FOUND},
  };
  for (const auto& [folder, name, error] : cases) {
    handset::TheHandset().moduleFolder = folder;
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(error));
  }
  EXPECT_NE(LoadLibraryW(u"inner.DLL"), nullptr);
}

TEST_F(Modules, HiddenEntryPointsAndModules) {
  handset::HideEntryPoint(u"TESTVENDOR", "VendorAnswer");
  HMODULE vendor = LoadLibraryW(u"testvendor.dll");
  ASSERT_NE(vendor, nullptr);
  ExpectNoEntry(vendor, u"VendorAnswer");
  EXPECT_NE(GetProcAddressW(vendor, u"VendorCalls"), nullptr);

  handset::HideModule(u"TestVendor.DLL");
  EXPECT_EQ(LoadLibraryW(u"TestVendor"), nullptr);
  EXPECT_NE(GetProcAddressW(vendor, u"VendorCalls"), nullptr);  // what is loaded stays usable
}

// A built-in module comes before a file of the same name.
TEST_F(Modules, BuiltinModulesAnswerFromTheirTable) {
  ASSERT_TRUE(handset::AddBuiltinModule(u"TestVendor.dll", {{"VendorCalls", &BuiltinFullScreen}, {"Gone", nullptr}}));
  HMODULE shell = LoadLibraryW(u"testvendor");
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(LoadLibraryW(u"TESTVENDOR.dll"), shell);
  ASSERT_NE(GetProcAddressW(shell, u"VendorCalls"), nullptr);
  EXPECT_EQ(GetProcAddressW(shell, u"VendorCalls")(), 42);
  ExpectNoEntry(shell, u"Gone");
  ExpectNoEntry(shell, u"VendorAnswer");

  handset::HideEntryPoint(u"testvendor.dll", "VendorCalls");
  ExpectNoEntry(shell, u"VendorCalls");
  EXPECT_TRUE(FreeLibrary(shell));
  EXPECT_TRUE(FreeLibrary(shell));
  EXPECT_FALSE(FreeLibrary(shell));
  EXPECT_FALSE(handset::AddBuiltinModule(u"sub/aygshell.dll", {}));
}

// The program was not loaded by name: it exports nothing and cannot be freed.
TEST_F(Modules, HandlesThatAreNotLoadedLibraries) {
  HINSTANCE program = handset::AddProgramModule(u"Vireta.exe", {});
  const std::pair<HMODULE, long> cases[] = {
      {nullptr, ERROR_INVALID_HANDLE},
      {static_cast<HMODULE>(CreateEventW(nullptr, TRUE, FALSE, nullptr)), ERROR_INVALID_HANDLE},
      {program, ERROR_PROC_NOT_FOUND}};
  for (const auto& [module, error] : cases) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(module, u"WinMain"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(error));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_NE(handset::TheHandset().objects.Find<handset::Module>(program), nullptr);
}

}  // namespace
