#include "x11_errors.h"

// gtest before Xlib, whose None would stand for a number in gtest's own names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xproto.h>
// clang-format on

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> passedOn;

int Recording(Display* /*display*/, XErrorEvent* error) {
  passedOn.emplace_back(error->request_code, error->error_code);
  return 0;
}

// Xlib's handler in place, as the host leaves it, called with an error of that request and code.
void Raise(unsigned char request, unsigned char code) {
  const XErrorHandler current = XSetErrorHandler(nullptr);
  XSetErrorHandler(current);
  XErrorEvent error{};
  error.type = 0;
  error.request_code = request;
  error.error_code = code;
  current(nullptr, &error);
}

}  // namespace

TEST(X11Errors, OnlyAWakeupSentToAGoneWindowIsForgivenAndTheRestGoOn) {
  XSetErrorHandler(Recording);
  desktop::ForgiveLateWakeups();
  desktop::ForgiveLateWakeups();  // a second call must not put the handler behind itself

  Raise(X_SendEvent, BadWindow);
  EXPECT_TRUE(passedOn.empty());

  Raise(X_SendEvent, BadValue);
  Raise(X_GetWindowAttributes, BadWindow);
  Raise(X_ChangeProperty, BadAtom);
  const std::vector<std::pair<int, int>> expected{
      {X_SendEvent, BadValue}, {X_GetWindowAttributes, BadWindow}, {X_ChangeProperty, BadAtom}};
  EXPECT_EQ(passedOn, expected);
}
