// The command line of a program on the desktop's phone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "phone.h"

namespace winmobile {

struct Options {
  Screen screen;
  bool sensorService = true;
  bool softKeyBar = true;
  // For the sensor library: where the tilt comes from, and a script it plays instead.
  std::wstring tilt;
  std::wstring script;
  std::wstring shots;
  bool help = false;
  bool version = false;
};

// `args` without the program's own name; on a fault, nothing, and `error` says what.
std::optional<Options> ParseOptions(const std::vector<std::wstring>& args, int smallestBand, std::wstring& error);

std::wstring OptionsHelp(const std::wstring& name);

}  // namespace winmobile
