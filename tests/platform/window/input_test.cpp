// Input as the program meets it: keys and taps arrive through the queue, shortcuts are
// translated by the main loop alone, and a window under a box takes no taps.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/resources/accelerator_table.h"
#include "platform/window/input.h"
#include "platform/window/message_boxes.h"
#include "platform/window/taskbar.h"
#include "platform/window/window_state.h"
#include "support/fresh_handset.h"
#include "support/idle_steps.h"
#include "support/message_script.h"

namespace {

using testsupport::Box;
using testsupport::Posted;
using testsupport::Sent;

class InputTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    testsupport::RunStepsWhenIdle(steps);
    window = testsupport::MakeWindow(testsupport::MessageLog::Procedure, u"INPUT", u"Input");
    ASSERT_NE(window, nullptr);
    // The game's two shortcuts, Ctrl+A and Ctrl+Q.
    auto table = std::make_shared<handset::AcceleratorTable>();
    table->entries = {{FVIRTKEY | FNOINVERT | FCONTROL, 'A', 40002}, {FVIRTKEY | FNOINVERT | FCONTROL, 'Q', 40000}};
    accelerators = static_cast<HACCEL>(handset::TheHandset().objects.Add(std::move(table)));
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

  HWND window = nullptr;
  HACCEL accelerators = nullptr;
  testsupport::MessageLog log{{WM_KEYDOWN, WM_CHAR, WM_COMMAND, WM_LBUTTONDOWN}};
  testsupport::Steps steps;
};

TEST_F(InputTest, ShortcutsBecomeCommandsOnlyWithControlHeld) {
  steps.emplace_back([] { handset::PressKey('A', true); });
  steps.emplace_back([] { handset::PressKey('A', false); });
  steps.emplace_back([] { handset::PressKey('Q', true); });
  MainLoop();
  // The translated key is not dispatched; the plain A arrives as a key and a character.
  // Ctrl+Q's command the default handling does not act on: the session end closes.
  EXPECT_TRUE(testsupport::SameSequence(
      "shortcuts",
      {Posted(WM_KEYDOWN, VK_CONTROL), Sent(WM_COMMAND, MAKEWPARAM(40002, 1)), Posted(WM_KEYDOWN, 'A'),
       Posted(WM_CHAR, 'a'), Posted(WM_KEYDOWN, VK_CONTROL), Sent(WM_COMMAND, MAKEWPARAM(40000, 1))},
      log.seen));
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, ABoxLoopDoesNotTranslateShortcutsAndItsOwnerTakesNoTaps) {
  log.on = [](HWND owner, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      MessageBoxW(owner, u"Up", u"Box", MB_TOPMOST);
    }
    return false;
  };
  steps.emplace_back([] { handset::PressKey(VK_SPACE, false); });
  steps.emplace_back([] { handset::PressKey('A', true); });
  steps.emplace_back([] { handset::Tap({100, 300}); });
  steps.emplace_back([] { EXPECT_TRUE(handset::AnswerTopmostBox()); });
  steps.emplace_back([] { handset::Tap({100, 300}); });
  MainLoop();
  // Keys under the box reach the box; the one tap that arrives is the one after it has
  // gone, in client coordinates.
  EXPECT_TRUE(testsupport::SameSequence("box loop",
                                        {Posted(WM_KEYDOWN, VK_SPACE), Box("Box: Up"), Posted(WM_CHAR, ' '),
                                         Posted(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 300 - 52))},
                                        log.seen));
  EXPECT_FALSE(log.seen.back().boxUp);
}

TEST_F(InputTest, TheTaskbarOkButtonSendsOkToTheForegroundWindowThatAsksForIt) {
  handset::WindowOf(window)->exStyle |= WS_EX_CAPTIONOKBTN;
  steps.emplace_back([] {
    const RECT ok = handset::TaskbarOkButton();
    handset::Tap({ok.left + 1, ok.top + 1});
  });
  steps.emplace_back([] { handset::Tap({1, 1}); });  // the title: nothing
  MainLoop();
  EXPECT_TRUE(testsupport::SameSequence("taskbar ok", {Posted(WM_COMMAND, MAKEWPARAM(IDOK, 0))}, log.seen));
}

}  // namespace
