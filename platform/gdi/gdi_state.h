// The drawing area's share of the handset: stock objects and the font.
#pragma once

#include <wingdi.h>

#include <array>
#include <memory>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/font_face.h"
#include "platform/gdi/stroke_spans.h"

namespace handset {

class DeviceContext;

struct GdiState {
  GdiState();

  // Indexed by the GetStockObject number; null where there is none.
  std::array<HGDIOBJ, SYSTEM_FONT + 1> stock{};
  // What a new memory context holds until a bitmap is selected: one black pixel.
  HGDIOBJ defaultBitmap = nullptr;
  // Loaded on first text.
  std::unique_ptr<FontFace> font;
  StrokeSpanCache strokeSpans;
  // The last paint canvas deleted, ready to serve the next.
  std::shared_ptr<DeviceContext> spareSurface;
};

GdiState& Gdi();
FontFace& SystemFont();

}  // namespace handset
