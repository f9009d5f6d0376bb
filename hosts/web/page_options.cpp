#include "page_options.h"

#include <sstream>

namespace web {

std::vector<std::string> OptionLines(const char* text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

std::optional<PageOptions> ParsePageOptions(const std::vector<std::string>& args, std::string& error) {
  PageOptions options;
  bool tiltGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (hostboot::TakeHandsetOption(args, i, options.handset, error)) {
      if (!error.empty()) {
        return std::nullopt;
      }
      continue;
    }
    if (option == "--record") {
      options.record = true;
      continue;
    }
    if (option != "--tilt") {
      error = "unknown option \"" + option + "\"";
      return std::nullopt;
    }
    if (tiltGiven) {
      error = "--tilt given twice";
      return std::nullopt;
    }
    tiltGiven = true;
    const std::string value = i + 1 < args.size() ? args[++i] : "";
    if (value == "keys") {
      options.tilt = TiltKind::Keys;
    } else if (value == "pointer") {
      options.tilt = TiltKind::Pointer;
    } else if (value == "motion") {
      options.tilt = TiltKind::Motion;
    } else {
      error = "--tilt needs keys, pointer or motion, got \"" + value + "\"";
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace web
