// A script: one user action a line, parsed whole before a run starts. A recording's
// first line says what it was made with, so that it replays as made.
#pragma once

#include <windef.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

struct Command {
  enum class Kind { Tilt, Wait, Key, Tap, Ok, Shot };
  Kind kind = Kind::Ok;
  int line = 0;
  std::uint32_t throttle = 0;  // tilt
  std::uint32_t steer = 0;     // tilt
  std::uint32_t ms = 0;        // wait
  UINT virtualKey = 0;         // key
  bool control = false;        // key
  int x = 0;                   // tap
  int y = 0;                   // tap
  std::string name;            // shot: a file stem
  int button = 0;              // ok: IDYES, IDNO ...; 0 for the box's default
};

// What a recording's header says: "# recording: PROGRAM VERSION: OPTIONS", the handset's
// options the session ran with.
struct RecordedWith {
  std::string program;  // "NAME VERSION"
  std::vector<std::string> options;
  int line = 0;
};

struct Script {
  std::vector<Command> commands;
  // None for a script written by hand or a recording older than headers.
  std::optional<RecordedWith> recordedWith;
};

// The header line a recording starts with.
std::string RecordingHeader(const std::string& program, const std::vector<std::string>& options);

// Parses `text` (named `file` in messages). On the first bad line returns nothing and
// sets `error` to "FILE:LINE: what is wrong"; a script without commands is refused too.
std::optional<Script> ParseScript(std::string_view text, const std::string& file, std::string& error);

// The first tap of `commands` off a screen of `width` x `height`, as "FILE:LINE: tap X Y
// is off the WxH screen"; "" for none. The screen is known before a run, so such a tap
// is a fault of the script.
std::string TapOffScreen(const std::vector<Command>& commands, int width, int height, const std::string& file);

// Reads and parses a script file; an unreadable one gives "FILE: cannot read: why".
std::optional<Script> LoadScript(const std::string& file, std::string& error);

}  // namespace kit
