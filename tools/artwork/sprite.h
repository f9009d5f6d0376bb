// Turning cairo's anti-aliased drawings into sprites for a two-transfer mask: every
// pixel is either wholly the picture or wholly background, so the AND mask fits the
// picture exactly and no edge pixel keeps a blend with the drawing's background.
#pragma once

#include <cairo.h>

#include <functional>

#include "image_files.h"

namespace artwork {

// A cairo drawing of `width` × `height` on a transparent surface, read back as
// straight (not premultiplied) 0xAARRGGBB.
image_files::Image Render(int width, int height, const std::function<void(cairo_t*)>& draw);

// Pixels at least half covered become opaque in their own colour (never pure black, which
// the mask reserves for "draw here"); the others become fully transparent.
image_files::Image HardEdged(const image_files::Image& soft);

// The picture on `background` where the sprite is transparent.
image_files::Image OnBackground(const image_files::Image& sprite, std::uint32_t background);

// Copies `source` into `target` with its top left at (x, y).
void Place(image_files::Image& target, const image_files::Image& source, int x, int y);

}  // namespace artwork
