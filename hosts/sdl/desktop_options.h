// The desktop host's command line: its own options and the handset's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "handset_boot.h"

namespace desktop {

enum class TiltKind { Keys, Mouse, Stick, Motion };

struct DesktopOptions {
  int scale = 1;
  bool fullscreen = false;
  std::optional<TiltKind> tilt;  // none: chosen from the gamepads present
  std::optional<std::filesystem::path> record;
  std::optional<std::filesystem::path> shots;  // none: the current folder
  std::optional<std::string> replay;           // a recording to watch instead of playing
  double speed = 1.0;                          // of the replay, times the recording's pace
  kit::HandsetOptions handset;
};

inline constexpr int kMaxScale = 8;
inline constexpr double kMinSpeed = 0.1;
inline constexpr double kMaxSpeed = 100.0;

// Parses `args` (without the program's name); none with `error` set on a bad option.
std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args, std::string& error);

// The --help lines of the desktop host's own options.
std::string DesktopOptionsHelp();

}  // namespace desktop
