// An HICON: the largest image of an icon group, decoded when it is a DIB. PNG images
// are kept undecoded (no pixels).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/handset/object_table.h"

namespace handset {

class Icon : public Object {
 public:
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, top row first; empty when not decoded
};

// The icon behind `handle`, or null.
std::shared_ptr<Icon> IconFromHandle(HICON handle);

}  // namespace handset
