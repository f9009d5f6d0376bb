// The pen calls and single pixels.
#include <winbase.h>
#include <winerror.h>

#include "platform/gdi/device_context.h"
#include "platform/gdi/lines.h"
#include "platform/handset/refuse.h"

using handset::ContextOf;

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
  const auto context = ContextOf(dc);
  if (!context) {
    handset::Refuse("MoveToEx", "not a device context", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (previous != nullptr) {
    *previous = context->position;
  }
  context->position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  const auto context = ContextOf(dc);
  if (!context) {
    handset::Refuse("LineTo", "not a device context", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const handset::Pen& pen = *context->pen.object;
  const POINT from = context->position;
  context->position = {x, y};
  if (pen.style == PS_NULL) {
    return TRUE;
  }
  const handset::Target target = context->DrawTarget();
  const auto x0 = context->DeviceX(from.x);
  const auto y0 = context->DeviceY(from.y);
  const auto x1 = context->DeviceX(x);
  const auto y1 = context->DeviceY(y);
  if (pen.width <= 1) {
    handset::DrawCosmeticLine(target, x0, y0, x1, y1, pen.pixel);
  } else {
    handset::DrawWideLine(target, x0, y0, x1, y1, pen.width, pen.pixel);
  }
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
  const auto context = ContextOf(dc);
  if (!context) {
    handset::Refuse("SetPixel", "not a device context", ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  const handset::Target target = context->DrawTarget();
  handset::PutPixel(target, context->DeviceX(x), context->DeviceY(y), handset::PixelOf(colour));
  return colour;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  const auto context = ContextOf(dc);
  if (!context) {
    handset::Refuse("GetPixel", "not a device context", ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  // Reads the bitmap even when pixels are not drawn: what it reads then is stale, which is
  // why a host turns drawing off only for a program that never reads pixels back.
  const handset::Target target = context->DrawTarget();
  const auto px = context->DeviceX(x);
  const auto py = context->DeviceY(y);
  for (const handset::Box& clip : target.clips) {
    if (px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom) {
      return handset::ColourOf(target.bitmap->At(static_cast<int>(px), static_cast<int>(py)));
    }
  }
  return CLR_INVALID;
}
