// Modules by name: real libraries from the module folder, built-in ones, and the hooks
// that make either look missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <bit>
#include <cstdint>
#include <string>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/kernel/modules.h"

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

class Modules : public testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    handset::TheHandset().moduleFolder = kModules;
  }
  static void ExpectNotLoaded(LPCWSTR name, long error) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(name), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(error));
  }
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
  EXPECT_EQ(GetProcAddressW(first, u"VendorCalls"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HMODULE again = LoadLibraryW(u"TestVendor.dll");
  ASSERT_NE(again, nullptr);
  EXPECT_NE(again, first);
  const auto fresh = As<CallsProc>(GetProcAddressW(again, u"VendorCalls"));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh(), 1);
}

TEST_F(Modules, OnlyTheLibrarysOwnExportsAreFound) {
  HMODULE vendor = LoadLibraryW(u"TestVendor.dll");
  ASSERT_NE(vendor, nullptr);
  ExpectNoEntry(vendor, u"NoSuchEntry");
  ExpectNoEntry(vendor, u"vendoranswer");
  ExpectNoEntry(vendor, u"VendorInternal");  // not exported
  ExpectNoEntry(vendor, u"malloc");          // the C library's, not this module's
  ExpectNoEntry(vendor, u"");
  ExpectNoEntry(vendor, nullptr);
  ExpectNoEntry(vendor, reinterpret_cast<LPCWSTR>(std::uintptr_t{7}));  // NOLINT(performance-no-int-to-ptr): an ordinal
  const char16_t loneSurrogate[] = {u'V', 0xD800, 0};
  ExpectNoEntry(vendor, loneSurrogate);
}

TEST_F(Modules, MissingModulesNonLibrariesAndNamesWithAPath) {
  const std::u16string absolute = (kModules / "TestVendor.dll").u16string();
  struct Case {
    std::filesystem::path folder;
    LPCWSTR name;
    long error;
  };
  const Case cases[] = {
      {kModules, u"Absent.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"Folder.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"", ERROR_MOD_NOT_FOUND},
      {kModules, u"NotALibrary.dll", ERROR_BAD_EXE_FORMAT},
      {kModules, nullptr, ERROR_INVALID_PARAMETER},
      {{}, u"TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules / "absent", u"TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"inner/Inner.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"inner\\Inner.dll", ERROR_MOD_NOT_FOUND},
      {kModules, u"C:TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules, absolute.c_str(), ERROR_MOD_NOT_FOUND},
      {kModules / "inner", u"../TestVendor.dll", ERROR_MOD_NOT_FOUND},
      {kModules / "inner", u"..\\TestVendor.dll", ERROR_MOD_NOT_FOUND},
  };
  for (const Case& c : cases) {
    handset::TheHandset().moduleFolder = c.folder;
    ExpectNotLoaded(c.name, c.error);
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
  ExpectNotLoaded(u"TestVendor", ERROR_MOD_NOT_FOUND);
  EXPECT_NE(GetProcAddressW(vendor, u"VendorCalls"), nullptr);  // what is loaded stays usable
}

TEST_F(Modules, BuiltinModulesAnswerFromTheirTable) {
  ASSERT_TRUE(handset::AddBuiltinModule(u"aygshell.dll", {{"SHFullScreen", &BuiltinFullScreen}, {"Gone", nullptr}}));
  HMODULE shell = LoadLibraryW(u"AygShell");
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(LoadLibraryW(u"aygshell.dll"), shell);
  FARPROC fullScreen = GetProcAddressW(shell, u"SHFullScreen");
  ASSERT_NE(fullScreen, nullptr);
  EXPECT_EQ(fullScreen(), 42);
  ExpectNoEntry(shell, u"Gone");
  ExpectNoEntry(shell, u"SHSipPreference");

  handset::HideEntryPoint(u"aygshell.dll", "SHFullScreen");
  ExpectNoEntry(shell, u"SHFullScreen");
  EXPECT_TRUE(FreeLibrary(shell));
  EXPECT_TRUE(FreeLibrary(shell));
  EXPECT_FALSE(FreeLibrary(shell));

  EXPECT_FALSE(handset::AddBuiltinModule(u"sub/aygshell.dll", {}));
}

TEST_F(Modules, BuiltinModuleComesBeforeAFileOfTheSameName) {
  ASSERT_TRUE(handset::AddBuiltinModule(u"TestVendor.dll", {{"VendorCalls", &BuiltinFullScreen}}));
  HMODULE vendor = LoadLibraryW(u"testvendor.dll");
  ASSERT_NE(vendor, nullptr);
  ExpectNoEntry(vendor, u"VendorAnswer");
  ASSERT_NE(GetProcAddressW(vendor, u"VendorCalls"), nullptr);
  EXPECT_EQ(GetProcAddressW(vendor, u"VendorCalls")(), 42);
}

TEST_F(Modules, HandlesThatAreNotLoadedLibraries) {
  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(nullptr, u"VendorAnswer"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(static_cast<HMODULE>(event), u"VendorAnswer"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(static_cast<HMODULE>(event)));

  // The program was not loaded by name: it exports nothing and cannot be freed.
  HINSTANCE program = handset::AddProgramModule(u"Vireta.exe", {});
  ExpectNoEntry(program, u"WinMain");
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(program));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_NE(handset::TheHandset().objects.Find<handset::Module>(program), nullptr);
}

}  // namespace
