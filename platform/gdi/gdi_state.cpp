// Stock objects and the system font, made once per handset.
#include "platform/gdi/gdi_state.h"

#include "platform/handset/handset.h"

namespace handset {

namespace {
template <class T, class... Args>
HGDIOBJ AddStock(Args&&... args) {
  auto object = std::make_shared<T>(std::forward<Args>(args)...);
  object->stock = true;
  return TheHandset().objects.Add(std::move(object));
}
}  // namespace

GdiState::GdiState() {
  stock[WHITE_BRUSH] = AddStock<Brush>(false, 0xFFFFFFU);
  stock[BLACK_BRUSH] = AddStock<Brush>(false, 0x000000U);
  stock[NULL_BRUSH] = AddStock<Brush>(true, 0x000000U);
  stock[WHITE_PEN] = AddStock<Pen>(PS_SOLID, 0, 0xFFFFFFU);
  stock[BLACK_PEN] = AddStock<Pen>(PS_SOLID, 0, 0x000000U);
  stock[NULL_PEN] = AddStock<Pen>(PS_NULL, 0, 0x000000U);
  stock[SYSTEM_FONT] = AddStock<Font>();
  defaultBitmap = AddStock<Bitmap>(1, 1, std::vector<std::uint32_t>{0});
}

GdiState& Gdi() {
  Handset& handset = TheHandset();
  if (!handset.gdi) {
    handset.gdi = std::make_shared<GdiState>();
  }
  return *handset.gdi;
}

FontFace& SystemFont() {
  GdiState& gdi = Gdi();
  if (!gdi.font) {
    gdi.font = std::make_unique<FontFace>(kSystemFontFile, kSystemFontPoints, TheHandset().dpi);
  }
  return *gdi.font;
}

}  // namespace handset
