#include "desktop_options.h"

#include <algorithm>

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

}  // namespace

std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args, std::string& error) {
  DesktopOptions options;
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (hostboot::TakeHandsetOption(args, i, options.handset, error)) {
      if (!error.empty()) {
        return std::nullopt;
      }
      continue;
    }
    static const char* const kValued[] = {"--scale", "--tilt", "--record", "--shots"};
    const bool valued = std::any_of(std::begin(kValued), std::end(kValued), [&](const char* n) { return option == n; });
    if (!valued && option != "--fullscreen") {
      error = "unknown option \"" + option + "\" (--help lists the options)";
      return std::nullopt;
    }
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
      error = option + " given twice";
      return std::nullopt;
    }
    seen.push_back(option);
    if (!valued) {
      options.fullscreen = true;
      continue;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (option == "--scale") {
      const auto scale = ScaleNamed(value);
      if (!scale) {
        error = "--scale needs a whole number 1.." + std::to_string(kMaxScale) + ", got \"" + value + "\"";
        return std::nullopt;
      }
      options.scale = *scale;
    } else if (option == "--tilt") {
      options.tilt = TiltNamed(value);
      if (!options.tilt) {
        error = "--tilt needs keys, mouse, stick or motion, got \"" + value + "\"";
        return std::nullopt;
      }
    } else if (option == "--record") {
      options.record = value;
    } else {
      options.shots = value;
    }
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
         "  --shots DIR              where F12 writes screenshots (default: here)\n"
         "  keys: F1/F2 soft keys, Enter, Escape, letters, Ctrl+A/Ctrl+Q; F9 shows the tilt in\n"
         "        the title; F12 screenshot; a click is a stylus tap\n";
}

}  // namespace desktop
