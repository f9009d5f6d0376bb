// Feeds arbitrary command lines (arguments split at NUL bytes) to the headless host's
// option parser, which must accept them whole or name a fault, never both.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  std::string error;
  const auto options = headless::ParseHeadlessOptions(args, error);
  if (options.has_value() == !error.empty()) {
    std::abort();
  }
  const auto* screen = options ? &options->handset.screen : nullptr;
  if (screen != nullptr && (options->script.empty() || screen->width < 240 || screen->height < 240 ||
                            screen->width > 1440 || screen->height > 2560)) {
    std::abort();
  }
  return 0;
}
