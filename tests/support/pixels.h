// Pictures compared whole: a failure gives how many pixels differ and the first few of
// them, never a line a pixel. It needs nothing of the handset, so tests of every area
// may use it; the screen's pixels are in screen_pixels.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>

namespace testsupport {

using PixelAt = std::function<std::uint32_t(int x, int y)>;

inline ::testing::AssertionResult SamePixels(int width, int height, const PixelAt& actual, const PixelAt& expected) {
  int mismatches = 0;
  std::ostringstream first;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t a = actual(x, y);
      const std::uint32_t e = expected(x, y);
      if (a != e && ++mismatches <= 4) {
        first << " (" << x << "," << y << ") is 0x" << std::hex << a << " not 0x" << e << std::dec;
      }
    }
  }
  if (mismatches == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << mismatches << " of " << width * height << " pixels differ:" << first.str();
}

}  // namespace testsupport
