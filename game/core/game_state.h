// The race core's one record: race, car, road, clock and screen size. The program has
// exactly one GameState, `game`, shared by the core and the presentation; the core's
// procedures below are plain functions over it.
#pragma once

#include <windows.h>

#include <cstdint>

enum class RacePhase : std::int32_t {
  Waiting = 0,     // after the reset: the clock stands until the car first passes the line
  Racing = 1,      // a lap is being timed
  LineAhead = 2,   // the line is in view above the car again; the lap closes past 10 s
  LapStarted = 3,  // a lap just closed; the line is ignored until the clock passes 14 s
};

inline constexpr int ROAD_TABLE_SLOTS = 300;
inline constexpr int ROAD_LAST_INDEX = 258;  // slots 0..258 are the track; the rest stay 0

// x of the road's left edge at the top of each segment.
using RoadTable = std::int32_t[ROAD_TABLE_SLOTS];

// Deliberately the ten-decimal value, not full-precision pi: the road table depends on
// its last bits.
inline constexpr double PI = 3.1415926535;

struct GameState {
  RacePhase racePhase;
  double carX;             // left edge of the 48 x 48 car sprite
  std::int32_t carY;       // top edge of the car sprite, constant during a race
  std::int32_t carFrame;   // car image 0..17, 9 = straight ahead
  double lateralSpeed;     // pixels per tick, negative = left
  double speed;            // demanded by the tilt, 0..17.3
  double shownSpeed;       // smoothed speed: drives the scroll and the dial
  std::int32_t roadTop;    // y of the top edge of the topmost segment drawn
  std::int32_t roadIndex;  // road table index of that segment
  RoadTable roadTable;
  std::int32_t offRoad;  // found off the road by the last frame; consumed by the next tick
  double ticks;          // race clock in ticks, penalties included
  double lapTime;        // seconds shown as the lap time, at most 99.0
  double bestTime;       // best lap of this run
  std::int32_t clientWidth;
  std::int32_t clientHeight;
  std::int32_t ready;  // set by the first repaint, never cleared
};

extern GameState game;

// Puts car, road and clock at the start of a race. Needs clientWidth and clientHeight.
void ResetRace();

// Fills roadTable slots 0..258 from clientWidth.
void BuildRoad();

// The timer message: off-road penalty, tilt physics once the game is ready, and a
// request to repaint `window` without erasing it.
void OnTick(HWND window);

// Reads one tilt sample and moves, steers and speeds up or slows down the car. Reads
// nothing, and changes nothing, while the sensor is not open.
void TiltStep();

// Once per frame on the frame surface `canvas`, after the grass: draws the road, the
// line and the markers (from the 24 x 48 sprite `marker`, picture above its mask),
// moves the race phase, sets offRoad and scrolls the road. Leaves the canvas's pen as
// it found it.
void RoadPass(HDC canvas, HDC marker);

// Once per frame, after the road pass: closes a lap, keeps the best one, advances the
// clock and derives lapTime.
void ClockStep();
