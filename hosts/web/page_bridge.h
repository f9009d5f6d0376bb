// What the page's C++ asks of the page's script: the page keeps the user's input and
// the canvas; the C++ takes the input when the handset is ready for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lap_book.h"

namespace web {

// A key or a tap, at its arrival on the page's clock (performance.now(), ms).
struct PageInput {
  enum class Kind { None, Key, Tap };
  Kind kind = Kind::None;
  double at = 0;
  std::string key;  // as a script names it: softkey1, enter, left, ctrl+q ...
  int x = 0;        // a tap, in screen pixels
  int y = 0;
};

// What tilts the phone now: the pointer over the screen, the arrows held, the phone's
// orientation and the one it had when the player took it as level.
struct PageTilt {
  bool pointerSeen = false;
  double pointerX = 0;
  double pointerY = 0;
  bool left = false;
  bool right = false;
  bool up = false;
  bool down = false;
  bool motion = false;  // the phone has reported its orientation
  double beta = 0;
  double gamma = 0;
  double screenAngle = 0;
  bool levelled = false;
  double levelBeta = 0;
  double levelGamma = 0;
  double levelScreenAngle = 0;
  bool fingerSteers = false;  // motion is refused or missing: a finger down tilts as a pointer
};

// The page's clock (ms): performance.now() with the time the page was hidden left out.
double PageNow();
PageInput TakePageInput();
PageTilt PageTiltNow();
// Shows `rgba` (width × height, 4 bytes a pixel) on the canvas.
void ShowOnPage(const std::uint8_t* rgba, int width, int height);
// Gives the page back to the browser for up to `ms`, or until input arrives.
void WaitOnPage(int ms);
void TellPage(const std::string& line);
// The session's input as a script, for the page to offer as a file.
void HandRecording(const std::string& script);
// The laps the session closed, as the program showed them, for the page to tell.
void HandLaps(const kit::LapBook& laps);

// Ends the run at once with `code`, the program's frames and all, as if the program had
// returned it.
[[noreturn]] void EndRunOnPage(int code);

// The drive the page asked to watch instead of a live run: a script's bytes, as they
// came, or none.
std::optional<std::string> DriveToWatch();
// How many times faster than real time the page wants a drive watched, as it is now.
double WatchSpeed();

}  // namespace web
