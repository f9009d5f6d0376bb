// Modal dialogs as the program uses its About box: WM_INITDIALOG before anything shows,
// the ways a dialog ends, the owner that keeps ticking behind it without painting over
// it, where the controls land, and templates that are no dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/gdi_state.h"
#include "handset/handset.h"
#include "handset/module.h"
#include "resources/embedded_resources.h"
#include "support/idle_steps.h"
#include "support/message_script.h"
#include "support/pixels.h"
#include "support/test_windows.h"
#include "window/dialog_layout.h"
#include "window/message_boxes.h"
#include "window/window_state.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlue = 0x0000FF;

using testsupport::MessageLog;
using DialogProc = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

// Ends on IDOK alone, as the program's About box does; WM_CLOSE is left to the default.
INT_PTR OkOnly(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  return FALSE;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    log = std::make_unique<MessageLog>(std::vector<UINT>{WM_INITDIALOG, WM_PAINT, WM_TIMER});
    // The owner paints itself red and repaints on every tick.
    log->on = [](HWND window, UINT message, WPARAM, LPARAM) {
      if (message == WM_TIMER) {
        InvalidateRect(window, nullptr, FALSE);
      }
      return false;
    };
    instance = handset::AddProgramModule(u"vireta.exe", EmbeddedResources());
    testsupport::RunStepsWhenIdle(steps);
    owner = testsupport::MakeWindow(MessageLog::Procedure, u"OWNER", u"Prueba", instance);
    ASSERT_NE(owner, nullptr);
    UpdateWindow(owner);
    log->seen.clear();
  }
  void TearDown() override {
    log.reset();
    handset::Reset();
  }

  LPCDLGTEMPLATEW Template(int id, LPCWSTR type = RT_DIALOG) const {
    return static_cast<LPCDLGTEMPLATEW>(LoadResource(instance, FindResourceW(instance, MAKEINTRESOURCEW(id), type)));
  }
  INT_PTR Show(int id = 105, LPARAM initParam = 0) {
    return DialogBoxIndirectParamW(instance, Template(id), owner, MessageLog::DialogProcedure, initParam);
  }
  // Runs `action` on the dialog at the next wait of its loop.
  void Then(std::function<void(HWND)> action) {
    steps.emplace_back([action = std::move(action)] { action(handset::TopmostBox()); });
  }
  void Wait(DWORD ms) {
    steps.emplace_back([ms] { handset::Windows().now += ms; });
  }
  int OwnerTicks() const {
    const auto ticks = log->Of(WM_TIMER);
    return static_cast<int>(
        std::count_if(ticks.begin(), ticks.end(), [this](const auto& s) { return s.window == owner; }));
  }
  static std::uint32_t Pixel(LONG x, LONG y) {
    return handset::Windows().screen->At(static_cast<int>(x), static_cast<int>(y));
  }

  std::unique_ptr<MessageLog> log;
  testsupport::Steps steps;
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
};

TEST_F(DialogTest, InitDialogComesFirstThenItShowsPaintsAndEndsWithItsResult) {
  HWND bar = nullptr;
  bool ownerEnabledInside = true;
  log->onDialog = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      // As the shell does: full screen, with a bar of its own owned by the dialog.
      const RECT work = handset::Windows().screenSize.WorkArea();
      MoveWindow(dialog, work.left, work.top, work.right - work.left, work.bottom - work.top, FALSE);
      bar = CreateWindowExW(0, u"OWNER", u"", 0, 0, 600, 480, 40, dialog, nullptr, nullptr, nullptr);
      ownerEnabledInside = IsWindowEnabled(owner) != FALSE;
      return TRUE;
    }
    return FALSE;
  };
  std::uint32_t bottomCorner = 0;
  Then([&](HWND) { bottomCorner = Pixel(2, 630); });
  Then([](HWND dialog) { EndDialog(dialog, 42); });

  EXPECT_EQ(Show(105, 1234), 42);

  EXPECT_TRUE(testsupport::SameSequence(
      "shown", {testsupport::Sent(WM_INITDIALOG, 0, 1234), testsupport::Posted(WM_PAINT)}, log->seen));
  EXPECT_FALSE(log->seen.front().visible);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_EQ(bottomCorner, kWhite);  // painted at the size WM_INITDIALOG gave it
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetForegroundWindow(), owner);
  EXPECT_EQ(handset::TopmostBox(), nullptr);
}

TEST_F(DialogTest, EndsOnlyWhenItsProcedureSaysSo) {
  struct Case {
    const char* name;
    DialogProc procedure;
    std::vector<std::function<void(HWND)>> actions;
    INT_PTR result;
  };
  const auto post = [](UINT message, WPARAM wParam) {
    return [=](HWND dialog) { PostMessageW(dialog, message, wParam, 0); };
  };
  const auto endOnAnyCommand = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND) {
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  };
  const auto endOnClose = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_CLOSE) {
      EndDialog(dialog, WM_CLOSE);
      return TRUE;
    }
    return FALSE;
  };
  const auto endInInit = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      EndDialog(dialog, 9);
    }
    return TRUE;
  };
  const std::vector<Case> cases = {
      {"IDCANCEL leaves it open, Enter is IDOK", OkOnly, {post(WM_COMMAND, IDCANCEL), post(WM_KEYDOWN, VK_RETURN)}, 1},
      {"the taskbar's ok", OkOnly, {post(WM_COMMAND, 5), post(WM_COMMAND, IDOK)}, IDOK},
      {"WM_CLOSE by default is IDCANCEL", endOnAnyCommand, {post(WM_CLOSE, 0)}, IDCANCEL},
      {"Escape is IDCANCEL", endOnAnyCommand, {post(WM_KEYDOWN, VK_ESCAPE)}, IDCANCEL},
      {"WM_CLOSE handled by the procedure", endOnClose, {post(WM_KEYDOWN, VK_ESCAPE), post(WM_CLOSE, 0)}, 16},
      {"ended inside WM_INITDIALOG, it never shows", endInInit, {}, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log->onDialog = c.procedure;
    log->seen.clear();
    steps.clear();
    HWND seenOpen = nullptr;
    for (const auto& action : c.actions) {
      Then([&seenOpen, action](HWND dialog) {
        // Each action finds the dialog still up.
        seenOpen = dialog;
        if (dialog != nullptr) {
          action(dialog);
        }
      });
    }
    EXPECT_EQ(Show(), c.result);
    EXPECT_EQ(seenOpen != nullptr, !c.actions.empty());
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(log->seen.front().message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_FALSE(log->seen.front().visible);
    EXPECT_EQ(log->Count(WM_PAINT) == 0, c.actions.empty());
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
}

TEST_F(DialogTest, OwnerTicksAndPaintsBehindItWithoutPaintingOverIt) {
  log->onDialog = OkOnly;
  SetTimer(owner, 666, 50, nullptr);
  int ticksBefore = 0;
  RECT place{};
  std::uint32_t inside = 0;
  std::uint32_t outside = 0;
  bool ownerDisabled = false;
  Then([&](HWND dialog) {
    ticksBefore = OwnerTicks();
    GetWindowRect(dialog, &place);
    ownerDisabled = IsWindowEnabled(owner) == FALSE;
  });
  for (int i = 0; i < 5; ++i) {
    Wait(50);
  }
  Then([&](HWND) {
    inside = Pixel(place.right - 2, place.bottom - 2);
    outside = Pixel(place.right + 2, place.bottom + 2);
  });
  Then([](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(Show(106), IDOK);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_GE(OwnerTicks() - ticksBefore, 4);
  ASSERT_LT(place.right + 2, 480);
  EXPECT_EQ(inside, kWhite);
  EXPECT_EQ(outside, kRed);
  // Once it is gone the owner repaints what it covered.
  UpdateWindow(owner);
  EXPECT_EQ(Pixel(place.right - 2, place.bottom - 2), kRed);
}

TEST_F(DialogTest, ControlsLandWhereTheirDialogUnitsSay) {
  log->onDialog = OkOnly;
  const handset::BaseUnits units = handset::DialogBaseUnits();
  // The handset's face at its size: letters some pixels wide, cells its height.
  EXPECT_GT(units.x, 3);
  EXPECT_EQ(units.y, handset::SystemFont().Height());
  const RECT work = handset::Windows().screenSize.WorkArea();
  const auto px = [&](int dx, int dy) { return POINT{work.left + dx * units.x / 4, work.top + dy * units.y / 8}; };
  RECT place{};
  std::u16string taskbarTitle;
  std::u16string taskbarRight;
  std::vector<std::uint32_t> icon;
  const auto blackIn = [](POINT from, POINT to) {
    return testsupport::ScreenPixelsIn({from.x, from.y, to.x, to.y}, [](std::uint32_t p) { return p == 0; });
  };
  int text202 = 0;
  int text203 = 0;
  int hidden204 = 0;
  int belowIcon = 0;
  Then([&](HWND dialog) {
    GetWindowRect(dialog, &place);
    taskbarTitle = handset::Windows().taskbarTitle;
    taskbarRight = handset::Windows().taskbarRight;
    const POINT at = px(12, 12);
    for (const LONG dy : {0, 1, 6, 7, 8}) {
      icon.push_back(Pixel(at.x + 3, at.y + dy));
    }
    text202 = blackIn(px(12, 36), px(82, 44));
    text203 = blackIn(px(12, 48), px(78, 56));
    hidden204 = blackIn(px(12, 60), px(78, 68));
    belowIcon = blackIn(px(12, 12 + 1), px(12 + 20, 36));
  });
  Then([](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0); });
  EXPECT_EQ(Show(), IDOK);

  const POINT size = px(156, 129);
  EXPECT_EQ(place.left, work.left);
  EXPECT_EQ(place.top, work.top);
  EXPECT_EQ(place.right, size.x);
  EXPECT_EQ(place.bottom, size.y);
  EXPECT_EQ(taskbarTitle, u"Acerca de Prueba");
  EXPECT_EQ(taskbarRight, u"ok");
  // Top row transparent, then opaque blue, then the half-red last row, then white.
  const std::uint32_t halfRed = 0xFF7F7F;
  EXPECT_EQ(icon, (std::vector<std::uint32_t>{kWhite, kBlue, kBlue, halfRed, kWhite}));
  EXPECT_GT(text202, 10);
  EXPECT_GT(text203, 10);
  EXPECT_EQ(hidden204, 0);
  EXPECT_EQ(belowIcon, 0);
}

TEST_F(DialogTest, StaticsShowMnemonicsWithoutTheirPrefix) {
  struct Case {
    std::u16string text;
    bool noPrefix;
    std::u16string shown;
  };
  for (const Case& c : std::vector<Case>{{u"&Otra && línea", false, u"Otra & línea"},
                                         {u"&Otra && línea", true, u"&Otra && línea"},
                                         {u"fin&", false, u"fin"},
                                         {u"&&&", false, u"&"}}) {
    EXPECT_EQ(handset::ShownText(c.text, c.noPrefix), c.shown);
  }
}

TEST_F(DialogTest, DialogsNestAndEachGivesItsOwnerBack) {
  HWND outer = nullptr;
  INT_PTR innerResult = 0;
  bool outerEnabledInside = true;
  bool outerEnabledAfter = false;
  log->onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG && outer == nullptr) {
      outer = dialog;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 100 && dialog == outer) {
      innerResult = DialogBoxIndirectParamW(instance, Template(106), outer, MessageLog::DialogProcedure, 0);
      outerEnabledAfter = IsWindowEnabled(outer) != FALSE && GetForegroundWindow() == outer;
      return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
      if (dialog != outer) {
        outerEnabledInside = IsWindowEnabled(outer) != FALSE;
      }
      EndDialog(dialog, dialog == outer ? 1 : 2);
      return TRUE;
    }
    return FALSE;
  };
  Then([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, 100, 0); });
  Then([](HWND inner) { PostMessageW(inner, WM_COMMAND, IDOK, 0); });
  Then([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });
  EXPECT_EQ(Show(), 1);
  EXPECT_EQ(innerResult, 2);
  EXPECT_FALSE(outerEnabledInside);
  EXPECT_TRUE(outerEnabledAfter);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, TheEndOfASessionPressesOk) {
  log->onDialog = OkOnly;
  // No host steps and no timers: the handset ends the session, answering the dialog.
  handset::Windows().hooks.idle = nullptr;
  EXPECT_EQ(Show(), IDOK);
}

TEST_F(DialogTest, TemplatesThatAreNoDialogFailAndMakeNothing) {
  const auto* loaded = static_cast<const std::byte*>(
      LockResource(LoadResource(instance, FindResourceW(instance, MAKEINTRESOURCEW(105), RT_DIALOG))));
  const int onTheStack = 0;
  struct Case {
    const char* name;
    const void* dialogTemplate;
    HWND owner;
    DWORD error;
  };
  const std::vector<Case> cases = {
      {"null", nullptr, owner, ERROR_INVALID_PARAMETER},
      {"not a resource", &onTheStack, owner, ERROR_INVALID_PARAMETER},
      {"a handle of another kind", owner, owner, ERROR_INVALID_PARAMETER},
      {"bytes that are no dialog", Template(107, RT_RCDATA), owner, ERROR_INVALID_DATA},
      {"inside a dialog, not at its start", loaded + 2, owner, ERROR_INVALID_DATA},
      {"an owner that is no window", Template(105), reinterpret_cast<HWND>(0x40), ERROR_INVALID_WINDOW_HANDLE},
  };
  const std::size_t windows = handset::Windows().stack.size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(c.dialogTemplate), c.owner,
                                      MessageLog::DialogProcedure, 0),
              -1);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(handset::Windows().stack.size(), windows);
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  EXPECT_TRUE(log->seen.empty());

  // The pointer LockResource gives works as well as LoadResource's handle.
  log->onDialog = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      EndDialog(dialog, 5);
    }
    return FALSE;
  };
  EXPECT_EQ(DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(loaded), owner,
                                    MessageLog::DialogProcedure, 0),
            5);
}

TEST_F(DialogTest, EndDialogRefusesWhatIsNoDialog) {
  for (HWND window : {owner, static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x40)}) {
    SetLastError(0);
    EXPECT_EQ(EndDialog(window, 1), FALSE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  }
  EXPECT_TRUE(IsWindow(owner));
}

}  // namespace
