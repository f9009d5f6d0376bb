// The handset's screen on the page's canvas, handed over only when its pixels changed:
// a live run and a watched drive show it alike.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/screen.h"

namespace web {

class PageCanvas {
 public:
  void Show(const handset::host::ScreenPixels& screen);

 private:
  std::vector<std::uint32_t> shown_;  // on the canvas now
  std::vector<std::uint32_t> next_;
};

}  // namespace web
