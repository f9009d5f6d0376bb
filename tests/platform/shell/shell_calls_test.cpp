// The shell's other calls: activation records, full-screen dialogs and the built-in
// library that exports them by name.
#include "shell/shell_module.h"
#include "shell_test_support.h"

namespace {

using handset::Window;
using shelltest::ShellTest;

TEST_F(ShellTest, ActivationRecordsFollowTheWindowAndRefuseAWrongSize) {
  SHACTIVATEINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SHHandleWMActivate(main, WA_ACTIVE, 0, &info, 0));
  EXPECT_EQ(info.fActive, 1U);
  EXPECT_TRUE(SHHandleWMActivate(main, MAKEWPARAM(WA_INACTIVE, 1), 0, &info, 0));
  EXPECT_EQ(info.fActive, 0U);
  EXPECT_EQ(info.hwndLastFocus, main);
  EXPECT_TRUE(SHHandleWMSettingChange(main, 0, 0, &info));

  SHACTIVATEINFO wrong = info;
  wrong.cbSize = sizeof wrong + 4;
  EXPECT_FALSE(SHHandleWMActivate(main, WA_ACTIVE, 0, &wrong, 0));
  EXPECT_EQ(wrong.fActive, 0U);
  EXPECT_FALSE(SHHandleWMSettingChange(main, 0, 0, &wrong));
  EXPECT_FALSE(SHHandleWMActivate(main, WA_ACTIVE, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(SHInitExtraControls());
}

TEST_F(ShellTest, InitDialogFillsTheWorkAreaAboveTheBarWithOkAndAnEmptyBar) {
  HWND dialog = CreateWindowExW(0, u"SHELLTEST", u"Acerca de", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, main, nullptr,
                                instance, nullptr);
  ASSERT_NE(dialog, nullptr);
  handset::WindowOf(dialog)->kind = Window::Kind::Dialog;
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, 0x2D};
  ASSERT_TRUE(SHInitDialog(&info));
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 52);
  EXPECT_EQ(rect.right, 480);
  EXPECT_EQ(rect.bottom, 640 - 52);
  EXPECT_NE(handset::WindowOf(dialog)->exStyle & WS_EX_CAPTIONOKBTN, 0U);
  EXPECT_EQ(handset::Windows().taskbarRight, u"ok");
  int bars = 0;
  for (const HWND handle : handset::Windows().stack) {
    const auto window = handset::WindowOf(handle);
    bars += window->kind == Window::Kind::MenuBar && window->owner == dialog ? 1 : 0;
  }
  EXPECT_EQ(bars, 1);
  DestroyWindow(dialog);
  EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), 0);
}

TEST_F(ShellTest, InitDialogWithoutFlagsOrWindowChangesNothing) {
  HWND dialog = CreateWindowExW(0, u"SHELLTEST", u"Box", WS_POPUP, 10, 60, 100, 80, main, nullptr, instance, nullptr);
  SHINITDLGINFO info{0, dialog, 0x2D};
  EXPECT_TRUE(SHInitDialog(&info));
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.bottom, 140);
  EXPECT_EQ(handset::WindowOf(dialog)->exStyle, 0U);

  info = {SHIDIM_FLAGS, dialog, SHIDIF_FULLSCREENNOMENUBAR};
  EXPECT_TRUE(SHInitDialog(&info));
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.bottom, 640);
  EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), 0);

  info = {SHIDIM_FLAGS, reinterpret_cast<HWND>(0x1234), 0x2D};
  EXPECT_FALSE(SHInitDialog(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST_F(ShellTest, TheShellLibraryLoadsByNameWithItsCalls) {
  handset::RegisterShellModule();
  HMODULE shell = LoadLibraryW(u"aygshell.dll");
  ASSERT_NE(shell, nullptr);
  const auto create = reinterpret_cast<decltype(&SHCreateMenuBar)>(
      reinterpret_cast<void (*)()>(GetProcAddressW(shell, u"SHCreateMenuBar")));
  ASSERT_NE(create, nullptr);
  SHMENUBARINFO info = BarRequest(102);
  EXPECT_TRUE(create(&info));
  for (const auto* name :
       {u"SHInitExtraControls", u"SHHandleWMActivate", u"SHHandleWMSettingChange", u"SHInitDialog"}) {
    EXPECT_NE(GetProcAddressW(shell, name), nullptr);
  }
  EXPECT_EQ(GetProcAddressW(shell, u"SHFullScreen"), nullptr);
  FreeLibrary(shell);
}

}  // namespace
