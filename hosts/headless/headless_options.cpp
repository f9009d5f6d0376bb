#include "headless_options.h"

namespace headless {

std::optional<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args, std::string& error) {
  HeadlessOptions options;
  // `--headless` itself is what brought the program here.
  static const kit::HostOption kOwn[] = {
      {"--headless", false, true}, {"--script", true}, {"--trace", true}, {"--shots", true}, {"--laps"}};
  bool scripted = false;
  const bool walked = kit::WalkOptions(
      args, kOwn, options.handset,
      [&](const std::string& name, const std::string& value, std::string&) {
        if (name == "--script") {
          options.script = value;
          scripted = true;
        } else if (name == "--trace") {
          options.trace = value;
        } else if (name == "--shots") {
          options.shots = value;
        } else if (name == "--laps") {
          options.laps = true;
        }
        return true;
      },
      error);
  if (!walked) {
    return std::nullopt;
  }
  if (!scripted) {
    error = "--script FILE is required";
    return std::nullopt;
  }
  return options;
}

}  // namespace headless
