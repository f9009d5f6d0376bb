// Feeds arbitrary bytes to the script parser, which must refuse them with a line number
// inside the text or give commands whose lines rise within it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto commands = kit::ParseScript(text, "fuzz", error);
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (!commands) {
    // "fuzz:LINE: ..." or "fuzz: ..." for a fault of the whole text.
    if (!error.starts_with("fuzz:")) {
      std::abort();
    }
    return 0;
  }
  int last = 0;
  for (const kit::Command& command : commands->commands) {
    if (command.line <= last || command.line > lines) {
      std::abort();
    }
    last = command.line;
  }
  return 0;
}
