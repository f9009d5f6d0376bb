// Where a dialog and its controls go in pixels, and what a static control shows: dialog
// units scale with the dialog font, which on the handset is always its one face.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/resources/dialog.h"

namespace handset {

// Horizontal units are a quarter of the font's average character width, vertical ones
// an eighth of its height.
struct BaseUnits {
  int x = 0;
  int y = 0;
};

// Measured on the system font as Windows measures a dialog font: the average width of
// the 52 Latin letters, rounded.
BaseUnits DialogBaseUnits();

// A box in dialog units as pixels, relative to the same origin; sizes never negative.
RECT UnitsToPixels(const BaseUnits& units, int x, int y, int cx, int cy);

// The dialog's place on the screen: its template box from the work area's corner,
// moved back inside the work area where it fits.
RECT PlaceDialog(const BaseUnits& units, const res::DialogTemplate& dialog);

// A static's text as shown: unless `noPrefix`, "&x" shows "x" (the mnemonic) and "&&"
// shows "&".
std::u16string ShownText(std::u16string_view text, bool noPrefix);

}  // namespace handset
