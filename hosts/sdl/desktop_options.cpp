#include "desktop_options.h"

#include <cstdlib>

namespace desktop {

namespace {

std::optional<TiltKind> TiltNamed(const std::string& name) {
  if (name == "keys") {
    return TiltKind::Keys;
  }
  if (name == "mouse") {
    return TiltKind::Mouse;
  }
  if (name == "stick") {
    return TiltKind::Stick;
  }
  if (name == "motion") {
    return TiltKind::Motion;
  }
  return std::nullopt;
}

std::optional<int> ScaleNamed(const std::string& text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxScale) {
    return std::nullopt;
  }
  return text[0] - '0';
}

// "4", "0.5": plain decimals only, so "1e2" or "inf" is not taken for a speed.
std::optional<double> SpeedNamed(const std::string& text) {
  bool point = false;
  bool digit = false;
  for (const char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digit = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digit || text.size() > 12) {
    return std::nullopt;
  }
  const double speed = std::strtod(text.c_str(), nullptr);
  if (speed < kMinSpeed || speed > kMaxSpeed) {
    return std::nullopt;
  }
  return speed;
}

}  // namespace

std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args, std::string& error) {
  DesktopOptions options;
  static const kit::HostOption kOwn[] = {{"--scale", true}, {"--fullscreen"},   {"--tilt", true}, {"--record", true},
                                         {"--shots", true}, {"--replay", true}, {"--speed", true}};
  bool speedGiven = false;
  const bool walked = kit::WalkOptions(
      args, kOwn, options.handset,
      [&](const std::string& name, const std::string& value, std::string& fault) {
        if (name == "--scale") {
          const auto scale = ScaleNamed(value);
          if (!scale) {
            fault = "--scale needs a whole number 1.." + std::to_string(kMaxScale) + ", got \"" + value + "\"";
            return false;
          }
          options.scale = *scale;
        } else if (name == "--fullscreen") {
          options.fullscreen = true;
        } else if (name == "--tilt") {
          options.tilt = TiltNamed(value);
          if (!options.tilt) {
            fault = "--tilt needs keys, mouse, stick or motion, got \"" + value + "\"";
            return false;
          }
        } else if (name == "--record") {
          options.record = value;
        } else if (name == "--replay") {
          options.replay = value;
        } else if (name == "--speed") {
          const auto speed = SpeedNamed(value);
          if (!speed) {
            fault = "--speed needs a number from 0.1 to 100, got \"" + value + "\"";
            return false;
          }
          options.speed = *speed;
          speedGiven = true;
        } else {
          options.shots = value;
        }
        return true;
      },
      error);
  if (!walked) {
    return std::nullopt;
  }
  // A replay's input is the recording's: nothing the user does is recorded or tilts it.
  if (options.replay && (options.record || options.tilt)) {
    error = std::string(options.record ? "--record" : "--tilt") + " cannot be used with --replay";
    return std::nullopt;
  }
  if (speedGiven && !options.replay) {
    error = "--speed is for --replay";
    return std::nullopt;
  }
  return options;
}

std::string DesktopOptionsHelp() {
  return "  --scale N                show the screen N times its size, 1..8 (default 1); the window\n"
         "                           can be resized, the picture keeps its shape\n"
         "  --fullscreen             fill the desktop\n"
         "  --tilt keys|mouse|stick|motion\n"
         "                           what tilts the phone: the arrow keys, the pointer over the\n"
         "                           screen, a gamepad's left stick or its motion sensor (default:\n"
         "                           motion, else stick when a gamepad is connected, else keys)\n"
         "  --record FILE            write the session's input as a script for --headless --script\n"
         "  --shots DIR              where F12 writes screenshots (default: a folder named for the\n"
         "                           program in your pictures folder)\n"
         "  --replay FILE            watch a recording at its own pace: Space pauses, Escape or\n"
         "                           Ctrl+Q stops\n"
         "  --speed N                replay N times as fast, 0.1..100 (default 1)\n"
         "  keys: F1/F2 soft keys, Enter, Escape, letters, Ctrl+A/Ctrl+Q; F9 shows the tilt in\n"
         "        the title; F12 screenshot; a click is a stylus tap\n";
}

}  // namespace desktop
