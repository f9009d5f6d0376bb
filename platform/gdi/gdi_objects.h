// The drawing objects a device context selects besides its bitmap.
#pragma once

#include <wingdi.h>

#include <cstdint>

#include "platform/handset/object_table.h"

namespace handset {

// An object that SelectObject can place into a device context. `selections` counts the
// contexts holding it, so that it is not freed under them; stock objects are never freed.
class GdiObject : public Object {
 public:
  int selections = 0;
  bool stock = false;
};

class Pen : public GdiObject {
 public:
  Pen(int penStyle, int penWidth, std::uint32_t penPixel) : style(penStyle), width(penWidth), pixel(penPixel) {}
  int style;
  int width;
  std::uint32_t pixel;  // 0x00RRGGBB
};

class Brush : public GdiObject {
 public:
  Brush(bool isHollow, std::uint32_t brushPixel) : hollow(isHollow), pixel(brushPixel) {}
  bool hollow;
  std::uint32_t pixel;
};

// The handset has one face, the system font; a font object names it.
class Font : public GdiObject {};

}  // namespace handset
