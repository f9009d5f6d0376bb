// Modal dialogs as the program uses its About box: WM_INITDIALOG before anything shows,
// the ways a dialog ends, dialogs in dialogs, hidden controls, and templates that are no
// dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi_state.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/dialog_layout.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "support/fresh_handset.h"
#include "support/idle_steps.h"
#include "support/message_script.h"
#include "support/screen_pixels.h"
#include "support/test_windows.h"

namespace {

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

// Ends when `ending` comes: with the command's id for WM_COMMAND, else with the message.
DialogProc EndOn(UINT ending) {
  return [ending](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == ending) {
      EndDialog(dialog, message == WM_COMMAND ? LOWORD(wParam) : message);
    }
    return message == ending ? TRUE : FALSE;
  };
}

class DialogTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    instance = handset::AddProgramModule(u"vireta.exe", EmbeddedResources());
    testsupport::RunStepsWhenIdle(steps);
    owner = testsupport::MakeWindow(MessageLog::Procedure, u"OWNER", u"Prueba", instance);
    ASSERT_NE(owner, nullptr);
    UpdateWindow(owner);
    log.seen.clear();
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

  MessageLog log{{WM_INITDIALOG, WM_PAINT}};
  testsupport::Steps steps;
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
};

TEST_F(DialogTest, InitDialogComesFirstThenItShowsPaintsAndEndsWithItsResult) {
  HWND bar = nullptr;
  bool ownerEnabledInside = true;
  log.onDialog = [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
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
  Then([&](HWND) { bottomCorner = handset::Windows().screen->At(2, 630); });
  Then([](HWND dialog) { EndDialog(dialog, 42); });

  EXPECT_EQ(Show(105, 1234), 42);

  EXPECT_TRUE(testsupport::SameSequence(
      "shown", {testsupport::Sent(WM_INITDIALOG, 0, 1234), testsupport::Posted(WM_PAINT)}, log.seen));
  // Painted at the size WM_INITDIALOG gave it; the owner given back whole.
  EXPECT_EQ(std::make_tuple(log.seen.front().visible, ownerEnabledInside, bottomCorner, IsWindow(bar),
                            IsWindowEnabled(owner), GetForegroundWindow(), handset::TopmostBox()),
            std::make_tuple(false, false, 0xFFFFFFU, FALSE, TRUE, owner, HWND{}));
}

TEST_F(DialogTest, EndsOnlyWhenItsProcedureSaysSo) {
  const auto post = [](UINT message, WPARAM wParam) {
    return [=](HWND dialog) { PostMessageW(dialog, message, wParam, 0); };
  };
  // With no host steps and no timers the handset ends the session, pressing OK.
  const std::vector<std::tuple<const char*, DialogProc, std::vector<std::function<void(HWND)>>, INT_PTR>> cases = {
      {"the end of the session", OkOnly, {}, IDOK},
      {"IDCANCEL leaves it open, Enter is IDOK", OkOnly, {post(WM_COMMAND, IDCANCEL), post(WM_KEYDOWN, VK_RETURN)}, 1},
      {"the taskbar's ok", OkOnly, {post(WM_COMMAND, 5), post(WM_COMMAND, IDOK)}, IDOK},
      {"WM_CLOSE by default is IDCANCEL", EndOn(WM_COMMAND), {post(WM_CLOSE, 0)}, IDCANCEL},
      {"Escape is IDCANCEL", EndOn(WM_COMMAND), {post(WM_KEYDOWN, VK_ESCAPE)}, IDCANCEL},
      {"WM_CLOSE handled by the procedure",
       EndOn(WM_CLOSE),
       {post(WM_KEYDOWN, VK_ESCAPE), post(WM_CLOSE, 0)},
       WM_CLOSE},
      {"ended inside WM_INITDIALOG, it never shows", EndOn(WM_INITDIALOG), {}, WM_INITDIALOG},
  };
  for (const auto& [name, procedure, actions, ending] : cases) {
    SCOPED_TRACE(name);
    log.onDialog = procedure;
    log.seen.clear();
    steps.clear();
    HWND seenOpen = nullptr;
    for (const auto& action : actions) {
      Then([&seenOpen, action](HWND dialog) {
        // Each action finds the dialog still up.
        seenOpen = dialog;
        if (dialog != nullptr) {
          action(dialog);
        }
      });
    }
    const INT_PTR result = Show();
    EXPECT_EQ(
        std::make_tuple(result, seenOpen != nullptr, steps.empty(), log.seen.front().message, log.seen.front().visible,
                        log.Count(WM_PAINT) == 0, IsWindowEnabled(owner)),
        std::make_tuple(ending, !actions.empty(), true, UINT{WM_INITDIALOG}, false, ending == WM_INITDIALOG, TRUE));
  }
}

TEST_F(DialogTest, ShownControlsDrawAndHiddenOnesDoNot) {
  log.onDialog = OkOnly;
  const handset::BaseUnits units = handset::DialogBaseUnits();
  const RECT work = handset::Windows().screenSize.WorkArea();
  // Dark pixels in the row of dialog units [top, top + 8), 12 to 78 across.
  const auto inkIn = [&](int top) {
    return testsupport::ScreenPixelsIn({work.left + 12 * units.x / 4, work.top + top * units.y / 8,
                                        work.left + 78 * units.x / 4, work.top + (top + 8) * units.y / 8},
                                       [](std::uint32_t p) { return p == 0; });
  };
  int shown = 0;
  int hidden = 0;
  Then([&](HWND) {
    shown = inkIn(48);
    hidden = inkIn(60);
  });
  Then([](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0); });
  EXPECT_EQ(Show(), IDOK);
  EXPECT_GT(shown, 10);
  EXPECT_EQ(hidden, 0);
}

TEST_F(DialogTest, StaticsShowMnemonicsWithoutTheirPrefix) {
  EXPECT_EQ(handset::ShownText(u"&Otra && línea", false), u"Otra & línea");
  EXPECT_EQ(handset::ShownText(u"&Otra && línea", true), u"&Otra && línea");
  EXPECT_EQ(handset::ShownText(u"fin&", false), u"fin");
  EXPECT_EQ(handset::ShownText(u"&&&", false), u"&");
}

TEST_F(DialogTest, DialogsNestAndEachGivesItsOwnerBack) {
  HWND outer = nullptr;
  INT_PTR innerResult = 0;
  bool outerEnabledInside = true;
  bool outerEnabledAfter = false;
  log.onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
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
  const INT_PTR result = Show();
  EXPECT_EQ(std::make_tuple(result, innerResult, outerEnabledInside, outerEnabledAfter, IsWindowEnabled(owner)),
            std::make_tuple(1, 2, false, true, TRUE));
}

TEST_F(DialogTest, TemplatesThatAreNoDialogFailAndMakeNothing) {
  const auto* loaded = static_cast<const std::byte*>(
      LockResource(LoadResource(instance, FindResourceW(instance, MAKEINTRESOURCEW(105), RT_DIALOG))));
  const int onTheStack = 0;
  const std::tuple<const char*, const void*, HWND, DWORD> cases[] = {
      {"null", nullptr, owner, ERROR_INVALID_PARAMETER},
      {"not a resource", &onTheStack, owner, ERROR_INVALID_PARAMETER},
      {"a handle of another kind", owner, owner, ERROR_INVALID_PARAMETER},
      {"bytes that are no dialog", Template(107, RT_RCDATA), owner, ERROR_INVALID_DATA},
      {"inside a dialog, not at its start", loaded + 2, owner, ERROR_INVALID_DATA},
      {"an owner that is no window", Template(105), reinterpret_cast<HWND>(0x40), ERROR_INVALID_WINDOW_HANDLE},
  };
  const std::size_t windows = handset::Windows().stack.size();
  for (const auto& [name, dialogTemplate, given, error] : cases) {
    SCOPED_TRACE(name);
    SetLastError(0);
    const INT_PTR result = DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), given,
                                                   MessageLog::DialogProcedure, 0);
    EXPECT_EQ(std::make_tuple(result, GetLastError(), handset::Windows().stack.size(), IsWindowEnabled(owner)),
              std::make_tuple(-1, error, windows, TRUE));
  }
  EXPECT_TRUE(log.seen.empty());

  // The pointer LockResource gives works as well as LoadResource's handle.
  log.onDialog = EndOn(WM_INITDIALOG);
  EXPECT_EQ(DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(loaded), owner,
                                    MessageLog::DialogProcedure, 0),
            WM_INITDIALOG);
}

}  // namespace
