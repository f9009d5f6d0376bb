// Dialog units, placement and mnemonic prefixes.
#include "platform/window/dialog_layout.h"

#include <wingdi.h>

#include <algorithm>

#include "platform/window/text_wrap.h"
#include "platform/window/window_state.h"

namespace handset {

BaseUnits DialogBaseUnits() {
  HDC measure = CreateCompatibleDC(nullptr);
  const int letters = TextWidth(measure, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  SIZE cell{};
  GetTextExtentPoint32W(measure, u"X", 1, &cell);
  DeleteDC(measure);
  return {std::max(1, (letters / 26 + 1) / 2), std::max(1, static_cast<int>(cell.cy))};
}

RECT UnitsToPixels(const BaseUnits& units, int x, int y, int cx, int cy) {
  const LONG left = x * units.x / 4;
  const LONG top = y * units.y / 8;
  return {left, top, left + std::max(0, cx) * units.x / 4, top + std::max(0, cy) * units.y / 8};
}

RECT PlaceDialog(const BaseUnits& units, const res::DialogTemplate& dialog) {
  const RECT work = Windows().screenSize.WorkArea();
  const RECT box = UnitsToPixels(units, dialog.x, dialog.y, dialog.cx, dialog.cy);
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  const LONG left = std::max(work.left, std::min(work.left + box.left, work.right - width));
  const LONG top = std::max(work.top, std::min(work.top + box.top, work.bottom - height));
  return {left, top, left + width, top + height};
}

std::u16string ShownText(std::u16string_view text, bool noPrefix) {
  if (noPrefix) {
    return std::u16string(text);
  }
  std::u16string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;  // "&&" keeps the second; "&x" keeps the x
    } else if (text[i] == u'&') {
      continue;  // a prefix with nothing after it
    }
    shown += text[i];
  }
  return shown;
}

}  // namespace handset
