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
  static const kit::HostOption kOwn[] = {{"--tilt", true}, {"--record"}};
  const bool walked = kit::WalkOptions(
      args, kOwn, options.handset,
      [&](const std::string& name, const std::string& value, std::string& fault) {
        if (name == "--record") {
          options.record = true;
        } else if (value == "keys") {
          options.tilt = TiltKind::Keys;
        } else if (value == "pointer") {
          options.tilt = TiltKind::Pointer;
        } else if (value == "motion") {
          options.tilt = TiltKind::Motion;
        } else {
          fault = "--tilt needs keys, pointer or motion, got \"" + value + "\"";
          return false;
        }
        return true;
      },
      error, " in the page's address");
  if (!walked) {
    return std::nullopt;
  }
  return options;
}

}  // namespace web
