// The handset's own options, shared by every host: its screen, session and clock; and
// the walk over a host's command line that takes them among the host's own.
#include <algorithm>
#include <charconv>

#include "handset_boot.h"

namespace kit {

namespace {

bool TakeOne(const std::vector<std::string>& args, std::size_t& index, HandsetOptions& options, std::string& error) {
  const std::string& option = args[index];
  if (option != "--screen" && option != "--session" && option != "--clock") {
    return handset::host::TakeDeviceOption(args, index, options.device, error);
  }
  if (index + 1 >= args.size() || args[index + 1].empty()) {
    error = option + " needs a value";
    return true;
  }
  bool& given = option == "--session" ? options.sessionGiven
                : option == "--clock" ? options.clockGiven
                                      : options.screenGiven;
  if (given) {
    error = option + " given twice";
    return true;
  }
  given = true;
  const std::string& value = args[++index];
  if (option == "--session") {
    options.session = value;
    return true;
  }
  if (option == "--clock") {
    const char* end = value.data() + value.size();
    const auto [stop, failed] = std::from_chars(value.data(), end, options.clock);
    if (stop != end || failed != std::errc{}) {
      error = "--clock '" + value + "' is not a tick count 0..4294967295";
    }
    return true;
  }
  if (auto screen = handset::host::ParseScreen(value, 0, error)) {
    options.screen = *screen;
  }
  return true;
}

}  // namespace

bool TakeHandsetOption(const std::vector<std::string>& args, std::size_t& index, HandsetOptions& options,
                       std::string& error) {
  const std::size_t first = index;
  if (!TakeOne(args, index, options, error)) {
    return false;
  }
  if (error.empty()) {
    std::string words = args[first];
    for (std::size_t i = first + 1; i <= index; ++i) {
      words += " " + args[i];
    }
    options.given.push_back(std::move(words));
  }
  return true;
}

bool WalkOptions(const std::vector<std::string>& args, std::span<const HostOption> own, HandsetOptions& handset,
                 const std::function<bool(const std::string& name, const std::string& value, std::string& error)>& take,
                 std::string& error, std::string_view hint) {
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (TakeHandsetOption(args, i, handset, error)) {
      if (error.empty()) {
        continue;
      }
      return false;
    }
    const std::string& name = args[i];
    const auto option = std::find_if(own.begin(), own.end(), [&](const HostOption& o) { return name == o.name; });
    if (option == own.end()) {
      error = "unknown option \"" + name + "\"" + std::string(hint);
      return false;
    }
    if (!option->repeats && std::find(seen.begin(), seen.end(), name) != seen.end()) {
      error = name + " given twice";
      return false;
    }
    seen.push_back(name);
    if (option->valued && (i + 1 >= args.size() || args[i + 1].empty())) {
      error = name + " needs a value";
      return false;
    }
    if (!take(name, option->valued ? args[++i] : std::string(), error)) {
      return false;
    }
  }
  return true;
}

std::string HandsetOptionsHelp(int smallestBand) {
  const auto size = [](const handset::host::ScreenSize& screen) {
    return std::to_string(screen.width) + "x" + std::to_string(screen.height);
  };
  return "  --screen WxH             the handset's screen: 480x640 (default), 240x320, 480x800, or any\n"
         "                           size from " +
         size(handset::host::SmallestScreen(smallestBand)) + " to " + size(handset::host::LargestScreen()) +
         " (taller from 480 wide)\n"
         "  --session NAME           share windows with the other handsets of that session\n"
         "  --clock MS               the tick count at boot (default 0); it wraps after 4294967295\n" +
         handset::host::DeviceOptionsHelp();
}

}  // namespace kit
