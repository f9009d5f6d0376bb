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

TEST_F(ShellTest, InitDialogSizesTheDialogAndGivesItOkAndABarAsAsked) {
  struct Case {
    DWORD mask;
    DWORD flags;
    RECT place;
    bool ok;
    int bars;  // owned by the dialog, gone with it
  };
  const Case cases[] = {
      {SHIDIM_FLAGS, 0x2D, {0, 52, 480, 640 - 52}, true, 1},  // full screen above an empty bar
      {0, 0x2D, {10, 60, 110, 140}, false, 0},                // no flags: nothing changes
      {SHIDIM_FLAGS, SHIDIF_FULLSCREENNOMENUBAR, {0, 52, 480, 640}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    HWND dialog = CreateWindowExW(0, u"SHELLTEST", u"Acerca de", WS_POPUP | WS_VISIBLE, 10, 60, 100, 80, main, nullptr,
                                  instance, nullptr);
    handset::WindowOf(dialog)->kind = Window::Kind::Dialog;
    SHINITDLGINFO info{c.mask, dialog, c.flags};
    ASSERT_TRUE(SHInitDialog(&info));
    RECT rect{};
    GetWindowRect(dialog, &rect);
    EXPECT_TRUE(rect.left == c.place.left && rect.top == c.place.top && rect.right == c.place.right &&
                rect.bottom == c.place.bottom)
        << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;
    EXPECT_EQ((handset::WindowOf(dialog)->exStyle & WS_EX_CAPTIONOKBTN) != 0, c.ok);
    EXPECT_TRUE(!c.ok || handset::Windows().taskbarRight == u"ok");
    EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), c.bars);
    DestroyWindow(dialog);
    EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), 0);
  }
  SHINITDLGINFO info{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x1234), 0x2D};
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
