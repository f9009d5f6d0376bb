// The page's options, from its address: ?screen=WxH&tilt=keys and the like arrive as
// --screen WxH --tilt keys, with the handset's own options beside them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "handset_boot.h"

namespace web {

enum class TiltKind { Keys, Pointer, Motion };

struct PageOptions {
  std::optional<TiltKind> tilt;  // none: the phone's motion once it reports any, else keys
  bool record = false;
  kit::HandsetOptions handset;
};

// The options the page's script hands over, one a line.
std::vector<std::string> OptionLines(const char* text);

// None with `error` set at the first bad option.
std::optional<PageOptions> ParsePageOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace web
