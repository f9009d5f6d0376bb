// What a test program saw, in order, and the one comparison of it with what a scenario
// expects: messages reaching its procedures (sent or posted), boxes opening and vendor
// calls. A failure names the scenario and the first place the two part.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "support/test_windows.h"

namespace testsupport {

enum class How : unsigned char { Sent, Posted, Box, Call };

// One event a test program saw, or one a scenario expects, where absent parameters
// match any.
struct Seen {
  How how = How::Sent;
  UINT message = 0;
  std::optional<WPARAM> wParam;
  std::optional<LPARAM> lParam;
  std::string text{};  // a box's "caption: text", a call's line
  HWND window = nullptr;
  bool boxUp = false;    // a message box or dialog was up
  bool visible = false;  // the receiving window was shown
};
using Expected = Seen;

inline Expected Sent(UINT message, std::optional<WPARAM> wParam = {}, std::optional<LPARAM> lParam = {}) {
  return {How::Sent, message, wParam, lParam};
}
inline Expected Posted(UINT message, std::optional<WPARAM> wParam = {}, std::optional<LPARAM> lParam = {}) {
  return {How::Posted, message, wParam, lParam};
}
inline Expected Box(std::string captionAndText) { return {How::Box, 0, {}, {}, std::move(captionAndText)}; }
inline Expected Call(std::string line) { return {How::Call, 0, {}, {}, std::move(line)}; }

inline std::string Describe(const Seen& e) {
  if (e.how == How::Box || e.how == How::Call) {
    return (e.how == How::Box ? "box \"" : "call \"") + e.text + "\"";
  }
  static constexpr std::pair<UINT, const char*> kNames[] = {
      {WM_CREATE, "CREATE"},         {WM_DESTROY, "DESTROY"},        {WM_PAINT, "PAINT"},     {WM_CLOSE, "CLOSE"},
      {WM_TIMER, "TIMER"},           {WM_COMMAND, "COMMAND"},        {WM_KEYDOWN, "KEYDOWN"}, {WM_CHAR, "CHAR"},
      {WM_INITDIALOG, "INITDIALOG"}, {WM_LBUTTONDOWN, "LBUTTONDOWN"}};
  const auto* known =
      std::find_if(std::begin(kNames), std::end(kNames), [&e](const auto& name) { return name.first == e.message; });
  std::string line =
      std::string(e.how == How::Sent ? "sent " : "posted ") +
      (known != std::end(kNames) ? std::string("WM_") + known->second : "message " + std::to_string(e.message));
  line += e.wParam ? " w=" + std::to_string(*e.wParam) : "";
  return line + (e.lParam ? " l=" + std::to_string(*e.lParam) : "");
}

// Seen as `e` would describe it: with only the parameters `e` names.
inline bool Matches(const Expected& e, const Seen& s) {
  return Describe(e) ==
         Describe({s.how, s.message, e.wParam ? s.wParam : std::nullopt, e.lParam ? s.lParam : std::nullopt, s.text});
}

// Compares `seen` with `expected` in order. A failure lists the first events seen, to
// write the table from.
inline ::testing::AssertionResult SameSequence(const std::string& scenario, const std::vector<Expected>& expected,
                                               const std::vector<Seen>& seen) {
  std::size_t at = 0;
  while (at < expected.size() && at < seen.size() && Matches(expected[at], seen[at])) {
    ++at;
  }
  if (at == expected.size() && at == seen.size()) {
    return ::testing::AssertionSuccess();
  }
  auto failure = ::testing::AssertionFailure()
                 << scenario << ": event " << at << " expected "
                 << (at < expected.size() ? Describe(expected[at]) : "nothing more") << ", saw "
                 << (at < seen.size() ? Describe(seen[at]) : "nothing more") << "\n  seen:";
  for (std::size_t i = 0; i < seen.size() && i < 24; ++i) {
    failure << " [" << i << "] " << Describe(seen[i]);
  }
  return failure;
}

// Records, while it lives, what reaches the procedures below and the boxes that open;
// a test with vendor libraries passes their calls to Called. One at a time.
class MessageLog {
 public:
  // The messages to keep; empty keeps every one.
  explicit MessageLog(std::vector<UINT> kept = {}) : kept_(std::move(kept)) {
    current = this;
    auto& hooks = handset::TheHandset().hooks;
    hooks.afterDispatch = [this](const MSG& m) { Settle(m, How::Posted); };
    hooks.afterSend = [this](const MSG& m) { Settle(m, How::Sent); };
    hooks.boxOpened = [this](HWND, const std::u16string& caption, const std::u16string& text, UINT) {
      std::string narrow;
      for (const char16_t c : caption + u": " + text) {
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
      }
      Called(std::move(narrow), How::Box);
    };
  }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;
  ~MessageLog() { current = current == this ? nullptr : current; }

  void Called(std::string line, How how = How::Call) { seen.push_back({how, 0, {}, {}, std::move(line)}); }

  // What each procedure does after recording, per test; returning true skips the default.
  std::function<bool(HWND, UINT, WPARAM, LPARAM)> on;
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> onDialog;
  COLORREF paintColour = RGB(255, 0, 0);
  int quitCode = 0;
  std::vector<Seen> seen;

  [[nodiscard]] int Count(UINT message) const {
    return static_cast<int>(std::count_if(seen.begin(), seen.end(), [message](const Seen& s) {
      return s.how != How::Box && s.how != How::Call && s.message == message;
    }));
  }

  // A window procedure that paints itself whole in `paintColour` and quits with
  // `quitCode` when destroyed.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageLog* log = current;
    if (log != nullptr) {
      log->Note(window, message, wParam, lParam);
      if (log->on && log->on(window, message, wParam, lParam)) {
        return 0;
      }
    }
    switch (message) {
      case WM_PAINT:
        PaintWhole(window, log != nullptr ? log->paintColour : RGB(255, 0, 0));
        return 0;
      case WM_DESTROY:
        PostQuitMessage(log != nullptr ? log->quitCode : 0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }
  static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageLog* log = current;
    if (log == nullptr) {
      return FALSE;
    }
    log->Note(dialog, message, wParam, lParam);
    return log->onDialog ? log->onDialog(dialog, message, wParam, lParam) : FALSE;
  }

 private:
  void Note(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (kept_.empty() || std::find(kept_.begin(), kept_.end(), message) != kept_.end()) {
      const bool boxUp = handset::TopmostBox() != nullptr;
      const bool visible = IsWindowVisible(window) != FALSE;
      seen.push_back({How::Sent, message, wParam, lParam, {}, window, boxUp, visible});
      open_.push_back(seen.size() - 1);
    }
  }
  // Every procedure call ends in one of the two hooks, innermost first: the entry still
  // open for the same message learns how it came.
  void Settle(const MSG& m, How how) {
    const auto it = std::find_if(open_.rbegin(), open_.rend(), [&](std::size_t i) {
      const Seen& s = seen[i];
      return s.window == m.hwnd && s.message == m.message && s.wParam == m.wParam && s.lParam == m.lParam;
    });
    if (it != open_.rend()) {
      seen[*it].how = how;
      open_.erase(std::next(it).base());
    }
  }

  inline static MessageLog* current = nullptr;
  std::vector<UINT> kept_;
  std::vector<std::size_t> open_;
};

}  // namespace testsupport
