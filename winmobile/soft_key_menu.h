// A soft key's pop-up menu: opened above the bar, flush with the key's end, drawn as the
// handset draws it.
#pragma once

#include <windows.h>

namespace winmobile {

// Shows `popup`'s items above `bar` and waits: the chosen command, or 0. While it is up,
// the soft key that opened it (`openingKey`, VK_F1 or VK_F2) chooses the lit item and the
// other one closes it.
WORD TrackSoftKeyMenu(HWND bar, HMENU popup, bool rightSide, UINT openingKey);

// For the bar's procedure: the open menu's items are measured and drawn here.
void MeasureSoftKeyMenuItem(MEASUREITEMSTRUCT& item);
void DrawSoftKeyMenuItem(const DRAWITEMSTRUCT& item);

}  // namespace winmobile
