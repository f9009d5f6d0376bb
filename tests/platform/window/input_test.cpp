// Input as the program meets it: keys and taps arrive through the queue, shortcuts are
// translated by the main loop alone, and a window under a box takes no taps.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/resources/accelerator_table.h"
#include "platform/window/input.h"
#include "platform/window/message_boxes.h"
#include "platform/window/taskbar.h"
#include "platform/window/window_state.h"
#include "support/idle_steps.h"
#include "support/test_windows.h"

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool boxUp;
};
std::vector<Received>* received = nullptr;
std::function<void(HWND, UINT, WPARAM)> onMessage;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  received->push_back({message, wParam, lParam, handset::TopmostBox() != nullptr});
  if (onMessage) {
    onMessage(window, message, wParam);
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    received = &seen;
    testsupport::RunStepsWhenIdle(steps);
    window = testsupport::MakeWindow(Procedure, u"INPUT", u"Input");
    ASSERT_NE(window, nullptr);
    // The game's two shortcuts, Ctrl+A and Ctrl+Q.
    auto table = std::make_shared<handset::AcceleratorTable>();
    table->entries = {{FVIRTKEY | FNOINVERT | FCONTROL, 'A', 40002}, {FVIRTKEY | FNOINVERT | FCONTROL, 'Q', 40000}};
    accelerators = static_cast<HACCEL>(handset::TheHandset().objects.Add(std::move(table)));
  }
  void TearDown() override {
    onMessage = nullptr;
    received = nullptr;
    handset::Reset();
  }

  // The game's main loop: shortcuts first, then the usual translation and dispatch.
  void MainLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0)) {
      if (TranslateAcceleratorW(message.hwnd, accelerators, &message) == 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  std::vector<WPARAM> Commands() const {
    std::vector<WPARAM> commands;
    for (const Received& r : seen) {
      if (r.message == WM_COMMAND) {
        commands.push_back(r.wParam);
      }
    }
    return commands;
  }
  int Count(UINT message) const {
    int n = 0;
    for (const Received& r : seen) {
      n += r.message == message ? 1 : 0;
    }
    return n;
  }

  HWND window = nullptr;
  HACCEL accelerators = nullptr;
  std::vector<Received> seen;
  testsupport::Steps steps;
};

TEST_F(InputTest, ShortcutsBecomeCommandsOnlyWithControlHeld) {
  steps.emplace_back([] { handset::PressKey('A', true); });
  steps.emplace_back([] { handset::PressKey('A', false); });
  steps.emplace_back([] { handset::PressKey('Q', true); });
  MainLoop();
  // Ctrl+A, then Ctrl+Q, whose command the default handling does not act on: the session
  // end closes the window.
  ASSERT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(40002, 1), MAKEWPARAM(40000, 1)}));
  // The translated key is not dispatched; the plain A arrives as a key and a character.
  int keyDownsOfA = 0;
  for (const Received& r : seen) {
    keyDownsOfA += r.message == WM_KEYDOWN && r.wParam == 'A' ? 1 : 0;
  }
  EXPECT_EQ(keyDownsOfA, 1);
  EXPECT_EQ(Count(WM_CHAR), 1);
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, ABoxLoopDoesNotTranslateShortcutsAndItsOwnerTakesNoTaps) {
  onMessage = [](HWND owner, UINT message, WPARAM wParam) {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      MessageBoxW(owner, u"Up", u"Box", MB_TOPMOST);
    }
  };
  steps.emplace_back([] { handset::PressKey(VK_SPACE, false); });
  steps.emplace_back([] { handset::PressKey('A', true); });
  steps.emplace_back([] { handset::Tap({100, 300}); });
  steps.emplace_back([] { EXPECT_TRUE(handset::AnswerTopmostBox()); });
  steps.emplace_back([] { handset::Tap({100, 300}); });
  MainLoop();
  EXPECT_TRUE(Commands().empty());
  // The one tap that arrived is the one after the box had gone, in client coordinates.
  std::vector<Received> taps;
  for (const Received& r : seen) {
    if (r.message == WM_LBUTTONDOWN) {
      taps.push_back(r);
    }
  }
  ASSERT_EQ(taps.size(), 1U);
  EXPECT_FALSE(taps[0].boxUp);
  EXPECT_EQ(taps[0].lParam, MAKELPARAM(100, 300 - 52));
}

TEST_F(InputTest, TheTaskbarOkButtonSendsOkToTheForegroundWindowThatAsksForIt) {
  const auto found = handset::WindowOf(window);
  found->exStyle |= WS_EX_CAPTIONOKBTN;
  steps.emplace_back([] {
    const RECT ok = handset::TaskbarOkButton();
    handset::Tap({ok.left + 1, ok.top + 1});
  });
  steps.emplace_back([] { handset::Tap({1, 1}); });  // the title: nothing
  MainLoop();
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDOK, 0)}));
}

}  // namespace
