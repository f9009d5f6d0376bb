// The face the phone's labels and menus are written in.
#pragma once

#include "gdi_handles.h"

namespace winmobile {

// The phone's own text: 9 points at the phone's density, in the desktop's message face.
UniqueFont PhoneFont();

}  // namespace winmobile
