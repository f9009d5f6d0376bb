// LoadBitmapW: an RT_BITMAP decoded and handed to the drawing area.
#include <windows.h>

#include "platform/gdi/bitmap_factory.h"
#include "platform/handset/refuse.h"
#include "platform/resources/dib.h"
#include "platform/resources/resource_state.h"

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  const auto* entry = handset::FindEntry("LoadBitmapW", instance, name, RT_BITMAP);
  if (entry == nullptr) {
    return nullptr;
  }
  auto image = handset::res::DecodeDib(entry->data);
  if (!image) {
    handset::Refuse("LoadBitmapW", "the bitmap is malformed or of an unsupported kind", ERROR_INVALID_DATA);
    return nullptr;
  }
  const int width = image->width;
  const int height = image->height;
  HBITMAP bitmap = handset::CreateBitmapFromPixels(width, height, std::move(*std::move(image)).pixels);
  if (bitmap == nullptr) {
    handset::Refuse("LoadBitmapW", "the bitmap is larger than the handset draws", ERROR_NOT_ENOUGH_MEMORY);
  }
  return bitmap;
}
