// FreeType behind the handset's face.
#include "platform/gdi/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace handset {

struct FontFace::Source {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int ascent = 0;
  ~Source() {
    if (face != nullptr) {
      FT_Done_Face(face);
    }
    if (library != nullptr) {
      FT_Done_FreeType(library);
    }
  }
};

namespace {
int Pixels(FT_Pos sixtyFourths) { return static_cast<int>((sixtyFourths + 32) >> 6); }
}  // namespace

FontFace::FontFace(const std::filesystem::path& file, int points, int dpi) : source_(std::make_unique<Source>()) {
  const int em = points * dpi / 72;
  if (FT_Init_FreeType(&source_->library) != 0) {
    error_ = "FreeType cannot start";
  } else if (FT_New_Face(source_->library, file.c_str(), 0, &source_->face) != 0) {
    error_ = "cannot read the font " + file.string();
  } else if (FT_Set_Char_Size(source_->face, 0, FT_F26Dot6{points} * 64, static_cast<FT_UInt>(dpi),
                              static_cast<FT_UInt>(dpi)) != 0) {
    error_ = "cannot size the font " + file.string();
  }
  if (!error_.empty()) {
    source_.reset();
    height_ = em;
    return;
  }
  const FT_Size_Metrics& metrics = source_->face->size->metrics;
  source_->ascent = Pixels(metrics.ascender);
  height_ = source_->ascent - Pixels(metrics.descender);
}

FontFace::~FontFace() = default;

const Glyph& FontFace::GlyphOf(char32_t code) {
  const auto found = glyphs_.find(code);
  if (found != glyphs_.end()) {
    return found->second;
  }
  Glyph glyph;
  if (!source_) {
    glyph.advance = height_ / 2;
    return glyphs_.emplace(code, std::move(glyph)).first->second;
  }
  FT_Face face = source_->face;
  // A missing character draws the face's own box for unknown glyphs (index 0).
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = Pixels(slot->advance.x);
    const FT_Bitmap& bits = slot->bitmap;
    const bool mono = bits.pixel_mode == FT_PIXEL_MODE_MONO;
    for (unsigned r = 0; r < bits.rows; ++r) {
      const unsigned char* line = bits.buffer + static_cast<std::ptrdiff_t>(r) * bits.pitch;
      const int row = source_->ascent - slot->bitmap_top + static_cast<int>(r);
      int start = -1;
      for (unsigned c = 0; c <= bits.width; ++c) {
        const bool on = c < bits.width && (mono ? ((line[c / 8] >> (7 - c % 8)) & 1) != 0 : line[c] >= 128);
        const int x = slot->bitmap_left + static_cast<int>(c);
        if (on && start < 0) {
          start = x;
        } else if (!on && start >= 0) {
          glyph.runs.push_back({row, start, x});
          start = -1;
        }
      }
    }
  }
  return glyphs_.emplace(code, std::move(glyph)).first->second;
}

}  // namespace handset
