// A device context: a bitmap to draw into and the objects and settings drawing uses.
// A memory context draws anywhere in its bitmap; a surface context (the window
// system's paint canvas) has an origin and a clip region inside a shared bitmap.
#pragma once

#include <wingdi.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/raster.h"
#include "platform/handset/handset.h"

namespace handset {

class DeviceContext : public Object {
 public:
  ~DeviceContext() override;

  // Holders of the selected objects: the handle the game knows and the object itself,
  // so that drawing never looks a handle up.
  template <class T>
  struct Slot {
    HGDIOBJ handle = nullptr;
    std::shared_ptr<T> object;
  };
  Slot<Bitmap> bitmap;
  Slot<Pen> pen;
  Slot<Brush> brush;
  Slot<Font> font;

  POINT position{0, 0};
  std::uint32_t textPixel = 0x000000;
  std::uint32_t backPixel = 0xFFFFFF;
  int backMode = OPAQUE;

  // A window's paint canvas, made by the window system rather than the program.
  bool surface = false;

  // Logical (0, 0) in device (bitmap) coordinates.
  POINT origin{0, 0};
  // Device boxes drawing may reach; none means the whole bitmap.
  std::optional<std::vector<Box>> region;

  // Where drawing lands now; valid until the bitmap or the region changes.
  Target DrawTarget();
  // Logical to device coordinates.
  std::int64_t DeviceX(std::int64_t x) const { return x + origin.x; }
  std::int64_t DeviceY(std::int64_t y) const { return y + origin.y; }
  // Lets go of every selected object, as when the context is deleted.
  void ReleaseAll();
  // The region changed: DrawTarget works the clips out again.
  void ClipsChanged() { clipsFor_ = nullptr; }

 private:
  std::vector<Box> clips_;
  const Bitmap* clipsFor_ = nullptr;
};

std::shared_ptr<DeviceContext> ContextOf(HDC dc);

// The bitmap `dc` draws into (the screen's for a surface context), or null.
std::shared_ptr<Bitmap> BitmapOf(HDC dc);

}  // namespace handset
