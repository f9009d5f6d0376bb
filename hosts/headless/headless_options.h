// The headless host's command line: its own options and the handset's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "handset_boot.h"

namespace headless {

struct HeadlessOptions {
  std::string script;
  std::optional<std::string> trace;
  std::filesystem::path shots = ".";
  bool laps = false;  // print each lap's time and the best at the end
  kit::HandsetOptions handset;
};

// The options after the program's name; nothing with `error` set at the first fault.
// `--headless` itself is allowed anywhere; `--script FILE` is required.
std::optional<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace headless
