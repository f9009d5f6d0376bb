// Shared by the shell tests: a program window with the test resources, whose procedure
// records the commands it gets, and a host that runs scripted steps while it waits.
#pragma once

#include <aygshell.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/window_state.h"
#include "support/idle_steps.h"
#include "support/test_windows.h"

namespace shelltest {

struct Command {
  WORD id;
  LPARAM source;
};

struct Program {
  std::vector<Command> commands;
  std::function<void(HWND, WORD)> onCommand;
  COLORREF paintColour = RGB(255, 0, 0);
};
inline Program* program = nullptr;

inline LRESULT CALLBACK ProgramProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      program->commands.push_back({LOWORD(wParam), lParam});
      if (program->onCommand) {
        program->onCommand(window, LOWORD(wParam));
      }
      return 0;
    case WM_PAINT:
      // Its whole client area, the band the bar covers included.
      testsupport::PaintWhole(window, program->paintColour);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    program = &state;
    instance = handset::AddProgramModule(u"vireta.exe", EmbeddedResources());
    testsupport::RunStepsWhenIdle(steps);
    main = testsupport::MakeWindow(ProgramProcedure, u"SHELLTEST", u"Test", instance);
    ASSERT_NE(main, nullptr);
  }
  void TearDown() override {
    program = nullptr;
    handset::Reset();
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
    for (const Command& c : state.commands) {
      ids.push_back(c.id);
    }
    return ids;
  }
  static int WindowsOfKind(handset::Window::Kind kind) {
    int n = 0;
    for (const HWND handle : handset::Windows().stack) {
      const auto window = handset::WindowOf(handle);
      n += window && window->kind == kind ? 1 : 0;
    }
    return n;
  }
  static std::uint32_t Pixel(int x, int y) { return handset::Windows().screen->At(x, y); }

  Program state;
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  testsupport::Steps steps;
};

}  // namespace shelltest
