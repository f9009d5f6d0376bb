// Pixels of the handset's screen counted by kind: for tests of the window area and above.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/window/window_state.h"

namespace testsupport {

// How many pixels of `area` on the handset's screen `wanted` picks.
inline int ScreenPixelsIn(const RECT& area, const std::function<bool(std::uint32_t)>& wanted) {
  int n = 0;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      n += wanted(handset::Windows().screen->At(static_cast<int>(x), static_cast<int>(y))) ? 1 : 0;
    }
  }
  return n;
}

}  // namespace testsupport
