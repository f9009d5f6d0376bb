// Device contexts that draw into part of a shared bitmap: the window system's paint
// canvases on the handset's screen.
#pragma once

#include <wingdi.h>

#include <memory>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace handset {

// A context drawing into `bitmap` with logical (0, 0) at `origin`, reaching only the
// pixels inside `clip` (device coordinates; cut to the bitmap). Freed with DeleteDC.
HDC CreateSurfaceDC(std::shared_ptr<Bitmap> bitmap, POINT origin, const std::vector<RECT>& clip);

}  // namespace handset
