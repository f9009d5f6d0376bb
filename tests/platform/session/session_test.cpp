// Two processes in one session: the second finds the first's window by class and title
// together and brings it forward; processes in other sessions, and windows matching only
// one of the names, are not found; what a dead process left is cleared.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "handset/handset.h"
#include "session/session.h"
#include "session/session_files.h"
#include "window/window_state.h"

namespace {

HWND Window(LPCWSTR className, LPCWSTR title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         nullptr, nullptr, nullptr, nullptr);
}

// Runs `body` in a child process with a fresh handset; its result is the exit status.
template <typename Body>
int InChild(Body body) {
  const pid_t child = fork();
  if (child == 0) {
    handset::Reset();
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    handset::Reset();
    name = "session-test-" + std::to_string(getpid());
    std::string error;
    ASSERT_TRUE(handset::JoinSession(name, error)) << error;
  }
  void TearDown() override {
    handset::Reset();
    std::filesystem::remove_all(handset::SessionRoot() / name);
  }
  std::string name;
};

TEST_F(Session, ASecondProcessFindsTheWindowByBothNamesAndBringsItForward) {
  HWND game = Window(u"VIRETA", u"Vireta");
  Window(u"VIRETA", u"Other title");
  HWND other = Window(u"OTHER", u"Vireta");
  ASSERT_EQ(GetForegroundWindow(), other);

  const std::string session = name;
  const int result = InChild([&session] {
    std::string error;
    if (!handset::JoinSession(session, error)) {
      return 1;
    }
    if (FindWindowW(u"VIRETA", u"Nothing") != nullptr || FindWindowW(u"NOTHING", u"Vireta") != nullptr) {
      return 2;
    }
    HWND running = FindWindowW(u"vireta", u"VIRETA");
    if (running == nullptr) {
      return 3;
    }
    return SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(running) | 1U)) ? 0 : 4;
  });
  ASSERT_EQ(result, 0);
  EXPECT_EQ(handset::ServeSessionRequests(), 1);
  EXPECT_EQ(GetForegroundWindow(), game);
  EXPECT_EQ(handset::ServeSessionRequests(), 0);  // served once

  // Another session sees nothing of this one.
  EXPECT_EQ(InChild([&session] {
              std::string error;
              handset::JoinSession(session + "-elsewhere", error);
              const bool found = FindWindowW(u"VIRETA", u"Vireta") != nullptr;
              std::filesystem::remove_all(handset::SessionRoot() / (session + "-elsewhere"));
              return found ? 1 : 0;
            }),
            0);
}

TEST_F(Session, ADeadProcessLeavesNothingToFind) {
  const std::string session = name;
  const pid_t child = fork();
  if (child == 0) {
    handset::Reset();
    std::string error;
    handset::JoinSession(session, error);
    Window(u"VIRETA", u"Vireta");
    _exit(0);  // dies without leaving the session
  }
  int status = 0;
  waitpid(child, &status, 0);
  const pid_t childPid = child;
  const auto folder = handset::SessionRoot() / name;
  ASSERT_TRUE(std::filesystem::exists(handset::WindowsFile(folder, childPid)));
  EXPECT_EQ(FindWindowW(u"VIRETA", u"Vireta"), nullptr);
  EXPECT_FALSE(std::filesystem::exists(handset::WindowsFile(folder, childPid)));
  EXPECT_FALSE(std::filesystem::exists(handset::LockFile(folder, childPid)));
}

TEST(SessionFiles, WindowListsRoundTripAndSkipWhatTheyCannotRead) {
  const std::vector<handset::PublishedWindow> windows = {
      {0x10004, u"VIRETA", u"Vireta"}, {0x10008, u"Tab\there", u"Line\nand \\ back"}, {0x1000C, u"ñ €", u"😀"}};
  const auto decoded = handset::DecodeWindows(handset::EncodeWindows(windows));
  ASSERT_EQ(decoded.size(), 3U);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(decoded[i].handle, windows[i].handle);
    EXPECT_EQ(decoded[i].className, windows[i].className);
    EXPECT_EQ(decoded[i].title, windows[i].title);
  }
  EXPECT_TRUE(handset::DecodeWindows("zz\tA\tB\n0\tA\tB\n10\tA\n10\tA\tB\tC\n10\t\\q\tB\n10\t\xff\tB\n").empty());
  // A lone surrogate cannot be matched by anyone: it is not published.
  EXPECT_EQ(handset::EncodeWindows({{4, std::u16string(1, u'\xD800'), u"x"}}), "");
}

}  // namespace
