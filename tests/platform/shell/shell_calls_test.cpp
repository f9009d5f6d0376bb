// The shell's other calls: activation records and full-screen dialogs; and how the
// handset refuses calls.
#include <string>
#include <string_view>
#include <tuple>

#include "platform/handset/handset.h"
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
  EXPECT_EQ(std::make_tuple(static_cast<UINT>(info.fActive), info.hwndLastFocus), std::make_tuple(0U, main));
  EXPECT_TRUE(SHHandleWMSettingChange(main, 0, 0, &info));
}

TEST_F(ShellTest, InitDialogSizesTheDialogAndGivesItOkAndABarAsAsked) {
  // The request, where the dialog goes, whether it gets OK, and the bars it owns (gone with it).
  const std::tuple<DWORD, DWORD, RECT, bool, int> cases[] = {
      {SHIDIM_FLAGS, 0x2D, {0, 52, 480, 640 - 52}, true, 1},  // full screen above an empty bar
      {0, 0x2D, {10, 60, 110, 140}, false, 0},                // no flags: nothing changes
      {SHIDIM_FLAGS, SHIDIF_FULLSCREENNOMENUBAR, {0, 52, 480, 640}, false, 0},
  };
  for (const auto& [mask, flags, place, ok, bars] : cases) {
    SCOPED_TRACE(flags);
    HWND dialog = CreateWindowExW(0, u"SHELLTEST", u"Acerca de", WS_POPUP | WS_VISIBLE, 10, 60, 100, 80, main, nullptr,
                                  instance, nullptr);
    handset::WindowOf(dialog)->kind = Window::Kind::Dialog;
    SHINITDLGINFO info{mask, dialog, flags};
    ASSERT_TRUE(SHInitDialog(&info));
    RECT rect{};
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(std::tie(rect.left, rect.top, rect.right, rect.bottom),
              std::tie(place.left, place.top, place.right, place.bottom));
    EXPECT_EQ((handset::WindowOf(dialog)->exStyle & WS_EX_CAPTIONOKBTN) != 0, ok);
    EXPECT_TRUE(!ok || handset::Windows().taskbarRight == u"ok");
    EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), bars);
    DestroyWindow(dialog);
    EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), 0);
  }
}

// Each refusal sets its error and is heard once by the host, by the function's name;
// a failure a program cannot foresee is not a refusal.
TEST_F(ShellTest, RefusalsSetTheirErrorAndAreReportedOnceByName) {
  std::vector<std::string> heard;
  handset::TheHandset().hooks.refused = [&](std::string_view function, std::string_view) {
    heard.emplace_back(function);
  };
  HWND gone = CreateWindowExW(0, u"SHELLTEST", u"Gone", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, instance, nullptr);
  DestroyWindow(gone);
  HDC dc = CreateCompatibleDC(nullptr);
  SHACTIVATEINFO wrongSize{};
  wrongSize.cbSize = sizeof wrongSize + 4;
  WNDCLASSW again{};
  again.lpfnWndProc = DefWindowProcW;
  again.lpszClassName = u"shelltest";
  SHMENUBARINFO byHandle = BarRequest(102);
  byHandle.dwFlags = SHCMBF_HMENU;
  SHINITDLGINFO unknownFlag{SHIDIM_FLAGS, main, 0x40};
  SHINITDLGINFO goneDialog{SHIDIM_FLAGS, gone, 0};
  RECT rect{};
  PAINTSTRUCT paint{};
  // The function heard (null: not a refusal), a call that fails and its error.
  const std::tuple<const char*, std::function<bool()>, DWORD> rows[] = {
      {"MessageBoxW", [&] { return MessageBoxW(main, u"?", u"Box", MB_YESNO | MB_DEFBUTTON3) == 0; },
       ERROR_INVALID_PARAMETER},
      {"MessageBoxW", [&] { return MessageBoxW(main, u"?", u"Box", 0x80 /* the program's icon */) == 0; },
       ERROR_INVALID_PARAMETER},
      {"MessageBoxW", [&] { return MessageBoxW(main, u"?", u"Box", 0x1000 /* system-modal */) == 0; },
       ERROR_INVALID_PARAMETER},
      {"SHCreateMenuBar", [&] { return SHCreateMenuBar(&byHandle) == FALSE; }, ERROR_INVALID_PARAMETER},
      {"SHInitDialog", [&] { return SHInitDialog(&unknownFlag) == FALSE; }, ERROR_INVALID_PARAMETER},
      {"SHInitDialog", [&] { return SHInitDialog(&goneDialog) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
      {"SHInitDialog", [] { return SHInitDialog(nullptr) == FALSE; }, ERROR_INVALID_PARAMETER},
      {"SHHandleWMActivate", [&] { return SHHandleWMActivate(main, WA_ACTIVE, 0, &wrongSize, 0) == FALSE; },
       ERROR_INVALID_PARAMETER},
      {"SHHandleWMSettingChange", [&] { return SHHandleWMSettingChange(main, 0, 0, &wrongSize) == FALSE; },
       ERROR_INVALID_PARAMETER},
      {"ExtTextOutW", [&] { return ExtTextOutW(dc, 0, 0, 0x10 /* glyph indices */, nullptr, u"a", 1, nullptr) == 0; },
       ERROR_INVALID_PARAMETER},
      {"CreatePen", [] { return CreatePen(1 /* dashed */, 1, 0) == nullptr; }, ERROR_INVALID_PARAMETER},
      {"BitBlt", [&] { return BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, 0x00660046 /* SRCINVERT */) == FALSE; },
       ERROR_INVALID_PARAMETER},
      {"LoadStringW", [&] { return LoadStringW(instance, 1, nullptr, 0) == 0; }, ERROR_INVALID_PARAMETER},
      {"RegisterClassW", [&] { return RegisterClassW(&again) == 0; }, ERROR_CLASS_ALREADY_EXISTS},
      {"CreateWindowExW",
       [&] { return CreateWindowExW(0, u"NOPE", u"x", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr) == nullptr; },
       ERROR_CANNOT_FIND_WND_CLASS},
      {"GetClientRect", [&] { return GetClientRect(gone, &rect) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
      {"PostMessageW", [&] { return PostMessageW(gone, WM_USER, 0, 0) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
      {"SendMessageW", [&] { return SendMessageW(gone, WM_USER, 0, 0) == 0; }, ERROR_INVALID_WINDOW_HANDLE},
      {"InvalidateRect", [&] { return InvalidateRect(gone, nullptr, TRUE) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
      {"BeginPaint", [&] { return BeginPaint(gone, &paint) == nullptr; }, ERROR_INVALID_WINDOW_HANDLE},
      {"EndDialog", [&] { return EndDialog(main, 1) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
      {"SetTimer", [&] { return SetTimer(gone, 1, 50, nullptr) == 0; }, ERROR_INVALID_WINDOW_HANDLE},
      // Owned windows go with their owner, unbeknown to the program.
      {nullptr, [&] { return DestroyWindow(gone) == FALSE; }, ERROR_INVALID_WINDOW_HANDLE},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const auto& [function, fails, error] = rows[i];
    heard.clear();
    SetLastError(0);
    EXPECT_TRUE(fails());
    EXPECT_EQ(GetLastError(), error);
    EXPECT_EQ(heard, function ? std::vector<std::string>{function} : std::vector<std::string>{});
  }
  DeleteDC(dc);
}

}  // namespace
