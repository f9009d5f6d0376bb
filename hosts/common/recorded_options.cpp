#include "recorded_options.h"

#include <algorithm>

namespace kit {

namespace {

bool Starts(const std::string& words, std::string_view option) {
  return words.size() > option.size() && words.compare(0, option.size() + 1, std::string(option) + " ") == 0;
}

std::string Given(const HandsetOptions& options, std::string_view option) {
  const auto found =
      std::find_if(options.given.begin(), options.given.end(), [&](const std::string& w) { return Starts(w, option); });
  return found == options.given.end() ? std::string() : *found;
}

// The device's options, in a order that does not matter.
std::vector<std::string> DeviceGiven(const HandsetOptions& options) {
  std::vector<std::string> device;
  for (const std::string& words : options.given) {
    if (!Starts(words, "--screen") && !Starts(words, "--clock") && !Starts(words, "--session")) {
      device.push_back(words);
    }
  }
  std::sort(device.begin(), device.end());
  return device;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    line += (line.empty() ? "" : " ") + word;
  }
  return line;
}

}  // namespace

std::vector<std::string> RecordingOptions(const HandsetOptions& options) {
  std::vector<std::string> words = {"--screen",
                                    std::to_string(options.screen.width) + "x" + std::to_string(options.screen.height),
                                    "--clock", std::to_string(options.clock)};
  for (const std::string& device : DeviceGiven(options)) {
    for (std::size_t start = 0; start < device.size();) {
      const std::size_t space = std::min(device.find(' ', start), device.size());
      words.push_back(device.substr(start, space - start));
      start = space + 1;
    }
  }
  return words;
}

bool TakeRecordedOptions(const RecordedWith& with, const std::string& file, const std::string& nameAndVersion,
                         HandsetOptions& options, std::string& error, std::string& warning) {
  const std::string where = file + ":" + std::to_string(with.line) + ": ";
  HandsetOptions recorded;
  for (std::size_t i = 0; i < with.options.size(); ++i) {
    if (!TakeHandsetOption(with.options, i, recorded, error)) {
      error = "\"" + with.options[i] + "\" is not an option of the handset";
    }
    if (!error.empty()) {
      error.insert(0, where + "the recording's header: ");
      return false;
    }
  }
  const auto contradicts = [&](const std::string& given, const std::string& made) {
    error = given;
    error += " contradicts " + file + ", recorded with ";
    error += made.empty() ? "the whole phone" : made;
    return false;
  };
  const std::string screen = Given(recorded, "--screen");
  if (options.screenGiven && recorded.screenGiven &&
      (options.screen.width != recorded.screen.width || options.screen.height != recorded.screen.height)) {
    return contradicts(Given(options, "--screen"), screen);
  }
  if (options.clockGiven && recorded.clockGiven && options.clock != recorded.clock) {
    return contradicts(Given(options, "--clock"), Given(recorded, "--clock"));
  }
  const std::vector<std::string> device = DeviceGiven(options);
  const std::vector<std::string> madeWith = DeviceGiven(recorded);
  if (!device.empty() && device != madeWith) {
    return contradicts(Joined(device), Joined(madeWith));
  }
  if (recorded.screenGiven) {
    options.screen = recorded.screen;
    options.screenGiven = true;
  }
  if (recorded.clockGiven) {
    options.clock = recorded.clock;
    options.clockGiven = true;
  }
  options.device = recorded.device;
  if (with.program != nameAndVersion) {
    warning = where + "recorded by " + with.program + ", replayed by " + nameAndVersion + ": the drive may differ";
  }
  return true;
}

}  // namespace kit
