// The handset's face from tables made at build time by the FreeType face itself, for a
// build without FreeType: the same spans, so the same pixels.
#include <algorithm>

#include "platform/gdi/font_face.h"

namespace handset {

struct FontFace::Source {
  const GlyphTable* table = nullptr;
};

namespace {

Glyph GlyphFrom(const GlyphTable& table, const TableGlyph& entry) {
  Glyph glyph;
  glyph.advance = entry.advance;
  glyph.runs.reserve(entry.runCount);
  for (std::uint32_t i = 0; i < entry.runCount; ++i) {
    const TableRun& run = table.runs[entry.firstRun + i];
    glyph.runs.push_back({run.row, run.x0, run.x1});
  }
  return glyph;
}

}  // namespace

FontFace::FontFace(const std::filesystem::path& file, int points, int dpi) : source_(std::make_unique<Source>()) {
  const std::span<const GlyphTable> tables = GlyphTables();
  const auto found = std::find_if(tables.begin(), tables.end(),
                                  [&](const GlyphTable& table) { return table.points == points && table.dpi == dpi; });
  if (found == tables.end()) {
    error_ = "no glyphs of " + file.filename().string() + " at " + std::to_string(points) + " points and " +
             std::to_string(dpi) + " dpi in this build";
    source_.reset();
    height_ = points * dpi / 72;
    return;
  }
  source_->table = &*found;
  height_ = found->height;
}

FontFace::~FontFace() = default;

const Glyph& FontFace::GlyphOf(char32_t code) {
  const auto cached = glyphs_.find(code);
  if (cached != glyphs_.end()) {
    return cached->second;
  }
  if (!source_) {
    Glyph blank;
    blank.advance = height_ / 2;
    return glyphs_.emplace(code, std::move(blank)).first->second;
  }
  const GlyphTable& table = *source_->table;
  const TableGlyph* end = table.glyphs + table.glyphCount;
  const TableGlyph* entry = std::lower_bound(
      table.glyphs, end, code, [](const TableGlyph& glyph, char32_t wanted) { return glyph.code < wanted; });
  const TableGlyph& chosen = entry != end && entry->code == code ? *entry : table.missing;
  return glyphs_.emplace(code, GlyphFrom(table, chosen)).first->second;
}

}  // namespace handset
