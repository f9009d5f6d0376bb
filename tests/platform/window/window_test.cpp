// The window system as a program lives in it: creation and the first paint inside the
// calls that cause them, repaints kept to what was invalidated, the queue's order and
// its coalesced timers, message boxes whose loop keeps the main window ticking and
// painting, and the taskbar's clock.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi_state.h"
#include "platform/handset/handset.h"
#include "platform/window/input.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "support/fresh_handset.h"
#include "support/idle_steps.h"
#include "support/known_gap.h"
#include "support/message_script.h"
#include "support/screen_pixels.h"
#include "support/test_windows.h"

namespace {

using testsupport::MessageLog;
using testsupport::Sent;

class WindowTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    log.quitCode = 7;
    // The host: one scripted step each time the program waits for a message.
    testsupport::RunStepsWhenIdle(steps);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MessageLog::Procedure;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = u"TESTCLASS";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
  }

  static HWND Create(DWORD style = WS_VISIBLE) {
    return CreateWindowExW(0, u"TESTCLASS", u"Test", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           nullptr, nullptr, nullptr, nullptr);
  }
  void Wait(DWORD ms) {
    steps.emplace_back([ms] { handset::Windows().now += ms; });
  }

  MessageLog log{{WM_CREATE, WM_PAINT, WM_TIMER, WM_CLOSE, WM_DESTROY}};
  testsupport::Steps steps;
};

TEST_F(WindowTest, CreateSendsCreateAndTheFirstPaintComesInsideUpdateWindow) {
  HWND window = Create();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(testsupport::SameSequence("created", {Sent(WM_CREATE)}, log.seen));
  UpdateWindow(window);
  EXPECT_EQ(handset::Windows().screen->At(10, 60), 0xFF0000U);
  UpdateWindow(window);  // nothing invalid any more
  EXPECT_TRUE(testsupport::SameSequence("updated twice", {Sent(WM_CREATE), Sent(WM_PAINT)}, log.seen));

  // A window above its middle leaves it pieces around; a repaint of the top stays there.
  CreateWindowExW(0, u"TESTCLASS", u"Above", WS_VISIBLE, 100, 200, 100, 100, window, nullptr, nullptr, nullptr);
  log.paintColour = RGB(0, 0, 255);
  const RECT top{0, 0, 50, 20};
  InvalidateRect(window, &top, FALSE);
  UpdateWindow(window);
  EXPECT_EQ(handset::Windows().screen->At(10, 60), 0x0000FFU);
  EXPECT_EQ(handset::Windows().screen->At(10, 500), 0xFF0000U);
}

TEST_F(WindowTest, QueueOrderIsPostedThenQuitThenPaintThenTimer) {
  HWND window = Create();
  SetTimer(window, 666, 50, nullptr);
  handset::Windows().now = 500;  // ten periods late
  PostMessageW(window, WM_USER + 5, 0, 0);
  MSG m{};
  const auto next = [&m] {
    EXPECT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    DispatchMessageW(&m);  // a paint stays pending until it is handled
    return m.message;
  };
  EXPECT_EQ((std::vector<UINT>{next(), next(), next()}), (std::vector<UINT>{WM_USER + 5, WM_PAINT, WM_TIMER}));
  EXPECT_EQ(m.wParam, 666U);  // a window's timer keeps the id it was given
  // One pending timer message however late: the next is a period after this one.
  Wait(49);
  Wait(1);
  EXPECT_EQ(next(), WM_TIMER);
  EXPECT_EQ(m.time, 550U);
  PostQuitMessage(3);
  PostMessageW(window, WM_USER, 0, 0);
  EXPECT_EQ(next(), WM_USER);
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3U);
}

TEST_F(WindowTest, TicksAndPaintsGoOnBehindAMessageBoxThatTheyCannotOverpaint) {
  HWND window = Create();
  UpdateWindow(window);
  SetTimer(window, 666, 50, nullptr);
  int answer = 0;
  RECT boxRect{};
  log.on = [&](HWND w, UINT message, WPARAM, LPARAM) {
    if (message == WM_TIMER && answer == 0 && log.Count(WM_TIMER) == 1) {
      answer = MessageBoxW(w, u"Unable to find entry point", u"Error", MB_TOPMOST);
    }
    if (message == WM_TIMER && handset::TopmostBox() != nullptr) {
      InvalidateRect(w, nullptr, FALSE);
      EXPECT_FALSE(IsWindowEnabled(w));
      GetWindowRect(handset::TopmostBox(), &boxRect);
    }
    return false;
  };
  for (int i = 0; i < 6; ++i) {
    Wait(50);
  }
  steps.emplace_back([] { handset::AnswerTopmostBox(); });
  Wait(50);
  steps.emplace_back([window] { PostMessageW(window, WM_CLOSE, 0, 0); });
  // While the box is up, check the screen inside it before it goes.
  std::uint32_t inside = 0;
  steps.insert(steps.begin() + 5,
               [&] { inside = handset::Windows().screen->At(boxRect.left + 2, boxRect.bottom - 2); });
  EXPECT_EQ(testsupport::RunMessageLoop(), 7);
  EXPECT_EQ(answer, IDOK);
  const auto behind = [&](UINT message) {
    return std::count_if(log.seen.begin(), log.seen.end(),
                         [&](const testsupport::Seen& s) { return s.message == message && s.boxUp; });
  };
  EXPECT_GE(behind(WM_TIMER), 4);
  EXPECT_GE(behind(WM_PAINT), 3);
  EXPECT_NE(inside, 0xFF0000U);  // the main window's red stayed out of the box
  EXPECT_NE(inside, 0U);
}

// The taskbar's clock counts whole minutes from the handset's start.
TEST_F(WindowTest, TheTaskbarClockTurnsOnTheMinute) {
  HWND window = Create();
  const auto clockAt = [&](DWORD ms) {
    handset::Windows().now = handset::Windows().bootTicks + ms;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    return testsupport::ScreenPixelsIn({360, 0, 480, 52}, [](std::uint32_t p) { return p == 0xFFFFFFU; });
  };
  const int start = clockAt(0);
  EXPECT_EQ(clockAt(59999), start);
  EXPECT_NE(clockAt(60000), start);
}

TEST_F(WindowTest, ForegroundWithTheFlagBitBringsOwnedBoxesForward) {
  HWND main = Create();
  ValidateRect(main, nullptr);
  HWND other =
      CreateWindowExW(0, u"TESTCLASS", u"Other", WS_VISIBLE, 0, 60, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HWND owned = CreateWindowExW(0, u"TESTCLASS", u"Box", WS_VISIBLE, 10, 70, 50, 50, main, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  EXPECT_EQ(std::make_tuple(GetForegroundWindow(), handset::Windows().stack.front()), std::make_tuple(other, other));
  const auto flagged = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(main) | 1U);  // NOLINT
  EXPECT_TRUE(SetForegroundWindow(flagged));
  const auto& stack = handset::Windows().stack;
  EXPECT_EQ(std::vector<HWND>(stack.begin(), stack.begin() + 2), (std::vector<HWND>{owned, main}));
  // What comes forward repaints.
  EXPECT_EQ(std::make_tuple(GetForegroundWindow(), handset::WindowOf(main)->invalid), std::make_tuple(owned, true));
}

TEST_F(WindowTest, PaintingWhereTheHandsetStillPartsFromWin32) {
  HWND window = Create();
  RECT client{};
  GetClientRect(window, &client);

  SetLastError(0);
  EXPECT_EQ(BeginPaint(window, nullptr), nullptr);
  KNOWN_GAP("BeginPaint without a PAINTSTRUCT fails with ERROR_INVALID_PARAMETER") {
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }

  InvalidateRect(window, nullptr, FALSE);
  const RECT top{0, 0, client.right, client.bottom / 2};
  EXPECT_TRUE(ValidateRect(window, &top));
  PAINTSTRUCT paint{};
  ASSERT_NE(BeginPaint(window, &paint), nullptr);
  EndPaint(window, &paint);
  KNOWN_GAP("ValidateRect takes its rectangle out of what BeginPaint is asked to paint") {
    EXPECT_EQ(std::make_tuple(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom),
              std::make_tuple(0, client.bottom / 2, client.right, client.bottom));
  }

  log.seen.clear();
  KNOWN_GAP("InvalidateRect without a window invalidates every window") {
    EXPECT_TRUE(InvalidateRect(nullptr, nullptr, FALSE));
    UpdateWindow(window);
    EXPECT_EQ(log.Count(WM_PAINT), 1);
  }
}

// Enter takes the default button, a tap or the system any other; the end of a session
// takes Cancel where there is one, else the default.
TEST_F(WindowTest, AMessageBoxAnswersWithTheButtonChosen) {
  const auto press = [](int button) {
    return [button] { handset::AnswerTopmostBox(handset::BoxAnswer::Default, button); };
  };
  const auto tapRightmost = [] {
    RECT box{};
    GetWindowRect(handset::TopmostBox(), &box);
    const int line = handset::SystemFont().Height();
    handset::Tap({box.right - line, box.bottom - line});
  };
  const std::tuple<UINT, std::function<void()>, int> cases[] = {
      {MB_YESNO, press(IDYES), IDYES},
      {MB_YESNO | MB_ICONQUESTION, press(IDNO), IDNO},
      {MB_YESNO | MB_DEFBUTTON2, [] { handset::PressKey(VK_RETURN, false); }, IDNO},
      {MB_OKCANCEL, tapRightmost, IDCANCEL},
      {MB_YESNOCANCEL, handset::EndSession, IDCANCEL},
      {MB_YESNO, handset::EndSession, IDYES},
  };
  for (const auto& [type, choose, answer] : cases) {
    steps = {choose};
    EXPECT_EQ(MessageBoxW(nullptr, u"Go on?", u"Box", type), answer) << "type " << type;
  }
}

}  // namespace
