// The host a window test plays: each time the program waits for a message, the next
// scripted step runs; with none left, the handset's default idle ends the session.
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/handset/handset.h"
#include "platform/window/window_state.h"

namespace testsupport {

using Steps = std::deque<std::function<void()>>;

inline void RunStepsWhenIdle(Steps& steps) {
  handset::TheHandset().hooks.idle = [&steps] {
    if (steps.empty()) {
      return false;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
    return true;
  };
}

}  // namespace testsupport
