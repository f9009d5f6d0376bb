// Block transfers and rectangle fills: clipped once, then whole rows at a time.
#include <winbase.h>
#include <winerror.h>
#include <winuser.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/device_context.h"
#include "platform/handset/refuse.h"

namespace {

using handset::Box;

// One row of a transfer; `forward` is false when an overlapping copy within the same
// bitmap must run from the right.
void CombineRow(std::uint32_t* dst, const std::uint32_t* src, std::size_t count, DWORD rop, bool forward) {
  if (rop == SRCCOPY) {
    std::memmove(dst, src, count * sizeof(std::uint32_t));
    return;
  }
  if (forward) {
    if (rop == SRCAND) {
      for (std::size_t i = 0; i < count; ++i) {
        dst[i] &= src[i];
      }
    } else {
      for (std::size_t i = 0; i < count; ++i) {
        dst[i] |= src[i];
      }
    }
    return;
  }
  for (std::size_t i = count; i-- > 0;) {
    dst[i] = rop == SRCAND ? (dst[i] & src[i]) : (dst[i] | src[i]);
  }
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  const auto to = handset::ContextOf(dst);
  const auto from = handset::ContextOf(src);
  if (!to || !from) {
    handset::Refuse("BitBlt", "not a device context", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT) {
    handset::Refuse("BitBlt", "only SRCCOPY, SRCAND and SRCPAINT are drawn, not " + handset::Hex(rop),
                    ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (width <= 0 || height <= 0) {
    return TRUE;
  }
  const handset::Target target = to->DrawTarget();
  const handset::Target source = from->DrawTarget();
  if (!target.draw) {
    return TRUE;
  }
  const std::int64_t dx = to->DeviceX(x);
  const std::int64_t dy = to->DeviceY(y);
  const std::int64_t sx = from->DeviceX(srcX);
  const std::int64_t sy = from->DeviceY(srcY);
  // The part of the block the source can give, in destination coordinates.
  const Box wanted{dx, dy, dx + width, dy + height};
  for (const Box& sourceClip : source.clips) {
    const Box given{sourceClip.left - sx + dx, sourceClip.top - sy + dy, sourceClip.right - sx + dx,
                    sourceClip.bottom - sy + dy};
    for (const Box& clip : target.clips) {
      const Box cut = handset::Intersect(handset::Intersect(wanted, given), clip);
      if (cut.Empty()) {
        continue;
      }
      const bool same = target.bitmap == source.bitmap;
      const bool downward = !(same && dy > sy);
      const bool forward = !(same && dx > sx);
      const auto count = static_cast<std::size_t>(cut.right - cut.left);
      const std::int64_t rows = cut.bottom - cut.top;
      for (std::int64_t n = 0; n < rows; ++n) {
        const std::int64_t row = downward ? cut.top + n : cut.bottom - 1 - n;
        std::uint32_t* out = target.bitmap->Row(static_cast<int>(row)) + cut.left;
        const std::uint32_t* in = source.bitmap->Row(static_cast<int>(row - dy + sy)) + (cut.left - dx + sx);
        CombineRow(out, in, count, rop, forward);
      }
    }
  }
  return TRUE;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  const auto context = handset::ContextOf(dc);
  const auto found = handset::TheHandset().objects.Find<handset::Brush>(brush);
  if (!context || !found || rect == nullptr) {
    handset::Refuse("FillRect",
                    !context ? "not a device context"
                    : !found ? "not a brush"
                             : "no rectangle",
                    ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!found->hollow) {
    const Box box{context->DeviceX(rect->left), context->DeviceY(rect->top), context->DeviceX(rect->right),
                  context->DeviceY(rect->bottom)};
    handset::FillBox(context->DrawTarget(), box, found->pixel);
  }
  return TRUE;
}
