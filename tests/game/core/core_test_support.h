// Shared by the race core's tests: a clean program state per test, the repaint requests
// the core made, the lines it drew, and the golden files of the model.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "sensor/tilt_sensor.h"
#include "support/sensor_bindings.h"

// Every InvalidateRect the code under test made, oldest first: the window, whether it was
// the whole client area, and the erase flag.
using InvalidateCall = std::tuple<HWND, bool, BOOL>;
inline std::vector<InvalidateCall> invalidateCalls;

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game = GameState{};
    testsupport::ResetTiltBindings();
    invalidateCalls.clear();
  }
};

// The generator behind the model's input sequences (tests/model/race_model.py).
class TestSequence {
 public:
  explicit TestSequence(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 32);
  }
  std::uint32_t Angle();

 private:
  std::uint64_t state_;
};

// Lines of a golden file, comment lines left out; each split at spaces.
std::vector<std::vector<std::string>> ReadGolden(const std::string& name);

// Shortest text that reads back as the same double: the form the model writes.
std::string Exact(double value);

// A recording stand-in for the drawing calls: the lines drawn, oldest first.
struct DrawnLine {
  POINT from;
  POINT to;
};
inline std::vector<DrawnLine> drawnLines;
