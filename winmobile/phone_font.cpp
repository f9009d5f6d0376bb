#include "phone_font.h"

#include "phone.h"

namespace winmobile {

namespace {
constexpr int kPhoneFontPoints = 9;  // the handset's system font
}  // namespace

UniqueFont PhoneFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW face{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE) {
    face = metrics.lfMessageFont;
  }
  // Pixels of the phone's screen, which the program is drawn in, not the desktop's points.
  face.lfHeight = -kPhoneFontPoints * PhoneScreen().dpi / 72;
  face.lfWidth = 0;
  return UniqueFont(CreateFontIndirectW(&face));
}

}  // namespace winmobile
