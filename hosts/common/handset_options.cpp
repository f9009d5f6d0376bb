// The handset's own options, shared by every host: its screen, session and clock.
#include <charconv>

#include "handset_boot.h"

namespace hostboot {

bool TakeHandsetOption(const std::vector<std::string>& args, std::size_t& index, HandsetOptions& options,
                       std::string& error) {
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

}  // namespace hostboot
