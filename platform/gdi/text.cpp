// Text in the system font: opaque character cells, two-colour glyphs.
#include <winbase.h>
#include <winerror.h>

#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_state.h"
#include "platform/handset/refuse.h"

namespace {

// The code point starting at text[i]; advances i past it. A lone surrogate stands for
// itself, which the face draws as its unknown-glyph box.
char32_t NextCode(LPCWSTR text, UINT count, UINT& i) {
  const char32_t unit = text[i++];
  if (unit >= 0xD800 && unit < 0xDC00 && i < count && text[i] >= 0xDC00 && text[i] < 0xE000) {
    const char32_t low = text[i++];
    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  }
  return unit;
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* spacing) {
  const auto context = handset::ContextOf(dc);
  if (!context) {
    handset::Refuse("ExtTextOutW", "not a device context", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (text == nullptr && count > 0) {
    handset::Refuse("ExtTextOutW", "no text", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Glyph indices, right-to-left reading and the like are not drawn here.
  if (const UINT unknown = options & ~(ETO_OPAQUE | ETO_CLIPPED); unknown != 0) {
    handset::Refuse("ExtTextOutW", "unsupported options " + handset::Hex(unknown), ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Loaded even when nothing is drawn, so that the face is made when it always was.
  handset::FontFace& face = handset::SystemFont();
  handset::Target target = context->DrawTarget();
  if (!target.draw) {
    return TRUE;
  }
  std::vector<handset::Box> clipped;
  if (rect != nullptr && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0) {
    const handset::Box box{context->DeviceX(rect->left), context->DeviceY(rect->top), context->DeviceX(rect->right),
                           context->DeviceY(rect->bottom)};
    if ((options & ETO_OPAQUE) != 0) {
      handset::FillBox(target, box, context->backPixel);
    }
    if ((options & ETO_CLIPPED) != 0) {
      for (const handset::Box& clip : target.clips) {
        clipped.push_back(handset::Intersect(clip, box));
      }
      target.clips = clipped;
    }
  }
  const std::int64_t top = context->DeviceY(y);
  std::int64_t left = context->DeviceX(x);
  for (UINT i = 0; i < count;) {
    const UINT first = i;
    const handset::Glyph& glyph = face.GlyphOf(NextCode(text, count, i));
    const std::int64_t advance = spacing != nullptr ? spacing[first] : glyph.advance;
    if (context->backMode == OPAQUE) {
      handset::FillBox(target, {left, top, left + advance, top + face.Height()}, context->backPixel);
    }
    for (const handset::GlyphRun& run : glyph.runs) {
      handset::FillSpan(target, top + run.row, left + run.x0, left + run.x1, context->textPixel);
    }
    left += advance;
  }
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
  if (!handset::ContextOf(dc) || size == nullptr || count < 0 || (text == nullptr && count > 0)) {
    handset::Refuse("GetTextExtentPoint32W",
                    !handset::ContextOf(dc) ? "not a device context" : "no size, no text or a negative count",
                    ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  handset::FontFace& face = handset::SystemFont();
  const auto total = static_cast<UINT>(count);
  std::int64_t width = 0;
  for (UINT i = 0; i < total;) {
    width += face.GlyphOf(NextCode(text, total, i)).advance;
  }
  *size = {static_cast<LONG>(width), face.Height()};
  return TRUE;
}
