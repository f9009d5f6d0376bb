// Device contexts and the objects selected into them.
#include "platform/gdi/device_context.h"

#include <winbase.h>
#include <winerror.h>

#include "platform/gdi/bitmap_factory.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/surface_dc.h"
#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"

namespace handset {

namespace {

template <class T>
void Hold(DeviceContext::Slot<T>& slot, HGDIOBJ handle, std::shared_ptr<T> object) {
  if (slot.object) {
    --slot.object->selections;
  }
  ++object->selections;
  slot.handle = handle;
  slot.object = std::move(object);
}

template <class T>
HGDIOBJ Swap(DeviceContext::Slot<T>& slot, HGDIOBJ handle, std::shared_ptr<T> object) {
  HGDIOBJ previous = slot.handle;
  Hold(slot, handle, std::move(object));
  return previous;
}

template <class T>
void Release(DeviceContext::Slot<T>& slot) {
  if (slot.object) {
    --slot.object->selections;
  }
}

// Gives `context` what a new context holds.
void Prepare(DeviceContext& context) {
  GdiState& gdi = Gdi();
  Hold(context.bitmap, gdi.defaultBitmap, BitmapFromHandle(gdi.defaultBitmap));
  Hold(context.pen, gdi.stock[BLACK_PEN], TheHandset().objects.Find<Pen>(gdi.stock[BLACK_PEN]));
  Hold(context.brush, gdi.stock[WHITE_BRUSH], TheHandset().objects.Find<Brush>(gdi.stock[WHITE_BRUSH]));
  Hold(context.font, gdi.stock[SYSTEM_FONT], TheHandset().objects.Find<Font>(gdi.stock[SYSTEM_FONT]));
}

std::shared_ptr<DeviceContext> NewContext() {
  auto context = std::make_shared<DeviceContext>();
  Prepare(*context);
  return context;
}

}  // namespace

DeviceContext::~DeviceContext() { ReleaseAll(); }

void DeviceContext::ReleaseAll() {
  Release(bitmap);
  Release(pen);
  Release(brush);
  Release(font);
  bitmap = {};
  pen = {};
  brush = {};
  font = {};
}

Target DeviceContext::DrawTarget() {
  Bitmap* target = bitmap.object.get();
  if (clipsFor_ != target) {
    const Box bounds{0, 0, target->Width(), target->Height()};
    clips_.clear();
    if (!region) {
      clips_.push_back(bounds);
    } else {
      for (const Box& box : *region) {
        const Box cut = Intersect(box, bounds);
        if (!cut.Empty()) {
          clips_.push_back(cut);
        }
      }
    }
    clipsFor_ = target;
  }
  return {target, clips_, TheHandset().drawPixels};
}

std::shared_ptr<DeviceContext> ContextOf(HDC dc) { return TheHandset().objects.Find<DeviceContext>(dc); }

std::shared_ptr<Bitmap> BitmapOf(HDC dc) {
  const auto context = ContextOf(dc);
  return context ? context->bitmap.object : nullptr;
}

HDC CreateSurfaceDC(std::shared_ptr<Bitmap> bitmap, POINT origin, const std::vector<RECT>& clip) {
  if (!bitmap) {
    return nullptr;
  }
  // A window is painted every frame: its last canvas, deleted, serves again, storage and
  // all, so that painting allocates nothing.
  std::shared_ptr<DeviceContext> context = std::move(Gdi().spareSurface);
  if (context) {
    Prepare(*context);
    context->position = POINT{0, 0};
    context->textPixel = 0x000000;
    context->backPixel = 0xFFFFFF;
    context->backMode = OPAQUE;
    context->ClipsChanged();
  } else {
    context = NewContext();
  }
  context->surface = true;
  ++bitmap->selections;
  Release(context->bitmap);
  context->bitmap = {nullptr, std::move(bitmap)};
  context->origin = origin;
  if (!context->region) {
    context->region.emplace();
  }
  context->region->clear();
  for (const RECT& r : clip) {
    context->region->push_back({r.left, r.top, r.right, r.bottom});
  }
  return static_cast<HDC>(TheHandset().objects.Add(std::move(context)));
}

}  // namespace handset

using handset::Bitmap;
using handset::Brush;
using handset::ContextOf;
using handset::Font;
using handset::GdiObject;
using handset::Pen;
using handset::TheHandset;

HDC CreateCompatibleDC(HDC /*dc*/) { return static_cast<HDC>(TheHandset().objects.Add(handset::NewContext())); }

BOOL DeleteDC(HDC dc) {
  std::shared_ptr<handset::DeviceContext> context = ContextOf(dc);
  if (!context) {
    handset::Refuse("DeleteDC", "not a device context", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  TheHandset().objects.Remove(dc);
  // Kept for the next paint only when nothing else holds it.
  if (context->surface && context.use_count() == 1) {
    context->ReleaseAll();
    handset::Gdi().spareSurface = std::move(context);
  }
  return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC /*dc*/, int width, int height) {
  if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > handset::kMaxBitmapPixels) {
    handset::Refuse("CreateCompatibleBitmap", "the size is not positive or too large", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return handset::CreateBitmapFromPixels(
      width, height,
      std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0U));
}

HGDIOBJ GetStockObject(int object) {
  const auto& stock = handset::Gdi().stock;
  if (object < 0 || static_cast<std::size_t>(object) >= stock.size() ||
      stock[static_cast<std::size_t>(object)] == nullptr) {
    handset::Refuse("GetStockObject", "no such stock object", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return stock[static_cast<std::size_t>(object)];
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  const auto context = ContextOf(dc);
  const auto found = TheHandset().objects.Find<GdiObject>(object);
  if (!context || !found) {
    handset::Refuse("SelectObject", !context ? "not a device context" : "not a drawing object", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(found)) {
    // A bitmap draws for one context at a time; a surface context keeps the screen's.
    if (context->region) {
      handset::Refuse("SelectObject", "a window's device context keeps its own bitmap", ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    if (context->bitmap.object == bitmap) {
      return object;
    }
    if (bitmap->selections > 0 && !bitmap->stock) {
      handset::Refuse("SelectObject", "the bitmap is selected into another device context", ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    return handset::Swap(context->bitmap, object, std::move(bitmap));
  }
  if (auto pen = std::dynamic_pointer_cast<Pen>(found)) {
    return handset::Swap(context->pen, object, std::move(pen));
  }
  if (auto brush = std::dynamic_pointer_cast<Brush>(found)) {
    return handset::Swap(context->brush, object, std::move(brush));
  }
  if (auto font = std::dynamic_pointer_cast<Font>(found)) {
    return handset::Swap(context->font, object, std::move(font));
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
  const auto found = TheHandset().objects.Find<GdiObject>(object);
  if (!found) {
    handset::Refuse("DeleteObject", "not a drawing object", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (found->stock) {
    return TRUE;
  }
  if (found->selections > 0) {
    handset::Refuse("DeleteObject", "the object is selected into a device context", ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TheHandset().objects.Remove(object);
  return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  const auto bitmap = handset::BitmapFromHandle(object);
  if (!bitmap) {
    handset::Refuse("GetObjectW", "not a bitmap", ERROR_INVALID_HANDLE);
    return 0;
  }
  constexpr int kSize = sizeof(BITMAP);
  if (buffer == nullptr) {
    return kSize;
  }
  if (size < kSize) {
    handset::Refuse("GetObjectW", "the buffer is smaller than a BITMAP", ERROR_INVALID_PARAMETER);
    return 0;
  }
  BITMAP info{};
  info.bmWidth = bitmap->Width();
  info.bmHeight = bitmap->Height();
  info.bmWidthBytes = bitmap->Width() * 4;
  info.bmPlanes = 1;
  info.bmBitsPixel = 32;
  *static_cast<BITMAP*>(buffer) = info;
  return kSize;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
  if (style != PS_SOLID && style != PS_NULL) {
    handset::Refuse("CreatePen", "only PS_SOLID and PS_NULL pens are drawn", ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return TheHandset().objects.Add(std::make_shared<Pen>(style, width < 0 ? 0 : width, handset::PixelOf(colour)));
}

HBRUSH CreateSolidBrush(COLORREF colour) {
  return TheHandset().objects.Add(std::make_shared<Brush>(false, handset::PixelOf(colour)));
}

namespace {
// Sets one of the context's colours, returning the one it replaces.
COLORREF ReplaceColour(const char* function, HDC dc, std::uint32_t handset::DeviceContext::*field, COLORREF colour) {
  const auto context = ContextOf(dc);
  if (!context) {
    handset::Refuse(function, "not a device context", ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  const COLORREF previous = handset::ColourOf((*context).*field);
  (*context).*field = handset::PixelOf(colour);
  return previous;
}
}  // namespace

COLORREF SetBkColor(HDC dc, COLORREF colour) {
  return ReplaceColour("SetBkColor", dc, &handset::DeviceContext::backPixel, colour);
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
  return ReplaceColour("SetTextColor", dc, &handset::DeviceContext::textPixel, colour);
}

int SetBkMode(HDC dc, int mode) {
  const auto context = ContextOf(dc);
  if (!context || (mode != OPAQUE && mode != TRANSPARENT)) {
    handset::Refuse("SetBkMode", !context ? "not a device context" : "the mode is neither OPAQUE nor TRANSPARENT",
                    ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int previous = context->backMode;
  context->backMode = mode;
  return previous;
}
