// The tick and the tilt physics against the model, and what a tick does while the
// sensor is not open.
#include <string>
#include <vector>

#include "core_test_support.h"

namespace {

HWND const MAIN_WINDOW = reinterpret_cast<HWND>(0x1000);

// What the scripted sensor writes on its next read, and how many reads it served.
struct ScriptedSensor {
  DWORD throttleAngle = 0;
  DWORD steerAngle = 0;
  int reads = 0;
  HANDLE lastHandle = nullptr;
} scripted;

DWORD ScriptedRead(HANDLE handle, TiltSample* sample) {
  ++scripted.reads;
  scripted.lastHandle = handle;
  sample->throttleAngle = scripted.throttleAngle;
  sample->steerAngle = scripted.steerAngle;
  return 1;
}

class Tilt : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    game.clientWidth = 480;
    game.clientHeight = 536;
    ResetRace();
    game.ready = 1;
    scripted = ScriptedSensor{};
    HTCSensorGetDataOutput = ScriptedRead;
    sensorHandle = reinterpret_cast<HANDLE>(0x5e);
    sensorOpen = TRUE;
  }

  void Tick(DWORD throttle, DWORD steer) {
    scripted.throttleAngle = throttle;
    scripted.steerAngle = steer;
    OnTick(MAIN_WINDOW);
  }
};

// A tick reads the sensor through the handle that was opened and asks for a whole
// repaint without erase.
TEST_F(Tilt, ATickReadsThroughTheOpenedHandleAndAsksForARepaint) {
  Tick(0, 0);
  EXPECT_EQ(std::pair(scripted.reads, scripted.lastHandle), std::pair(1, sensorHandle));
  EXPECT_EQ(invalidateCalls, (std::vector<InvalidateCall>{{MAIN_WINDOW, true, FALSE}}));
}

// Before the first repaint, or before the sensor is open (opening it failed): the tick
// reads nothing and moves nothing, but the penalty and the repaint request still happen.
TEST_F(Tilt, AnIdleTickSkipsTheTiltStepEntirely) {
  for (const auto& [ready, open] : {std::pair<std::int32_t, BOOL>{0, TRUE}, {1, FALSE}}) {
    SCOPED_TRACE(ready == 0 ? "not ready" : "sensor not open");
    SetUp();
    game.ready = ready;
    sensorOpen = open;
    game.offRoad = 1;
    game.speed = 10.0;
    game.shownSpeed = 4.0;
    game.lateralSpeed = -3.0;
    game.carX = 100.0;
    game.carFrame = 6;
    Tick(0, 90);
    EXPECT_EQ(scripted.reads, 0);
    EXPECT_EQ(std::vector<double>({game.speed, game.shownSpeed, double(game.offRoad), game.lateralSpeed, game.carX,
                                   double(game.carFrame)}),
              std::vector<double>({1.0, 2.0, 0.0, -3.0, 100.0, 6.0}));
    EXPECT_EQ(invalidateCalls.size(), 1U);
  }
}

// Long drives of varied angles, unsigned values up to 4294967295 and occasional
// off-road frames, against the model tick for tick.
class TiltTrace : public Tilt, public ::testing::WithParamInterface<std::pair<std::int32_t, std::uint64_t>> {};

TEST_P(TiltTrace, MatchesTheModelBitForBit) {
  const auto [width, seed] = GetParam();
  game.clientWidth = width;
  ResetRace();
  const auto rows = ReadGolden("tilt_" + std::to_string(width) + ".txt");
  ASSERT_EQ(rows.size(), 1000U);
  TestSequence sequence(seed);
  for (const auto& row : rows) {
    const DWORD throttle = sequence.Angle();
    const DWORD steer = sequence.Angle();
    game.offRoad = sequence.Next() % 11 == 0 ? 1 : 0;
    Tick(throttle, steer);
    // The inputs too: a drift of the sequence shows as such.
    ASSERT_EQ(row, (std::vector<std::string>{row[0], std::to_string(throttle), std::to_string(steer), row[3],
                                             Exact(game.lateralSpeed), Exact(game.carX), std::to_string(game.carFrame),
                                             Exact(game.speed), Exact(game.shownSpeed)}));
  }
}

INSTANTIATE_TEST_SUITE_P(Drives, TiltTrace, ::testing::Values(std::pair{480, 1ULL}, std::pair{241, 2ULL}));

}  // namespace
