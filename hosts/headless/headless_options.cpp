#include "headless_options.h"

#include <algorithm>
#include <iterator>

namespace headless {

std::optional<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args, std::string& error) {
  HeadlessOptions options;
  bool seen[3] = {};
  static const char* const kNames[] = {"--script", "--trace", "--shots"};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--headless") {
      continue;
    }
    if (hostboot::TakeHandsetOption(args, i, options.handset, error)) {
      if (!error.empty()) {
        return std::nullopt;
      }
      continue;
    }
    const auto known = std::find_if(std::begin(kNames), std::end(kNames), [&](const char* n) { return option == n; });
    if (known == std::end(kNames)) {
      error = "unknown option \"" + option + "\" (--help lists the options)";
      return std::nullopt;
    }
    const auto which = static_cast<std::size_t>(known - std::begin(kNames));
    if (seen[which]) {
      error = option + " given twice";
      return std::nullopt;
    }
    seen[which] = true;
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    switch (which) {
      case 0:
        options.script = value;
        break;
      case 1:
        options.trace = value;
        break;
      default:
        options.shots = value;
    }
  }
  if (!seen[0]) {
    error = "--script FILE is required";
    return std::nullopt;
  }
  return options;
}

}  // namespace headless
