// The drawing area's share of the handset: stock objects and the font.
#pragma once

#include <wingdi.h>

#include <array>
#include <memory>

#include "gdi/bitmap.h"
#include "gdi/font_face.h"
#include "gdi/stroke_spans.h"

namespace handset {

struct GdiState {
  GdiState();

  // Indexed by the GetStockObject number; null where there is none.
  std::array<HGDIOBJ, SYSTEM_FONT + 1> stock{};
  // What a new memory context holds until a bitmap is selected: one black pixel.
  HGDIOBJ defaultBitmap = nullptr;
  // Loaded on first text.
  std::unique_ptr<FontFace> font;
  StrokeSpanCache strokeSpans;
};

GdiState& Gdi();
FontFace& SystemFont();

}  // namespace handset
