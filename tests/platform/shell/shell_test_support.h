// Shared by the shell tests: a program window with the test resources, whose procedure
// records the commands it gets, and a host that runs scripted steps while it waits.
#pragma once

#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/window_state.h"
#include "support/fresh_handset.h"
#include "support/idle_steps.h"
#include "support/message_script.h"
#include "support/test_windows.h"

namespace shelltest {

class ShellTest : public testsupport::FreshHandset {
 protected:
  void SetUp() override {
    instance = handset::AddProgramModule(u"vireta.exe", EmbeddedResources());
    testsupport::RunStepsWhenIdle(steps);
    main = testsupport::MakeWindow(testsupport::MessageLog::Procedure, u"SHELLTEST", u"Test", instance);
    ASSERT_NE(main, nullptr);
  }
  SHMENUBARINFO BarRequest(UINT id) const {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = main;
    info.nToolBarId = id;
    info.hInstRes = instance;
    return info;
  }
  HWND MakeBar() {
    SHMENUBARINFO info = BarRequest(102);
    EXPECT_TRUE(SHCreateMenuBar(&info));
    return info.hwndMB;
  }
  // Runs the program's loop; each step runs when the program has nothing left to do,
  // and the session ends after the last one.
  void Run() {
    testsupport::RunMessageLoop();
    EXPECT_TRUE(steps.empty()) << "the program ended before every step had run";
  }
  std::vector<WORD> CommandIds() const {
    std::vector<WORD> ids;
    for (const testsupport::Seen& c : log.seen) {
      ids.push_back(LOWORD(c.wParam.value_or(0)));
    }
    return ids;
  }
  static long WindowsOfKind(handset::Window::Kind kind) {
    const auto& stack = handset::Windows().stack;
    return std::count_if(stack.begin(), stack.end(),
                         [kind](HWND h) { return handset::WindowOf(h) && handset::WindowOf(h)->kind == kind; });
  }
  static std::uint32_t Pixel(int x, int y) { return handset::Windows().screen->At(x, y); }

  // Records the commands the program window gets; its whole client area, the band the
  // bar covers included, paints red.
  testsupport::MessageLog log{{WM_COMMAND}};
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  testsupport::Steps steps;
};

}  // namespace shelltest
