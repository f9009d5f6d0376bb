// The handset's one face, rasterised with FreeType as two-colour glyphs and kept as
// row spans, so text is drawn with the same fills as everything else. A build without
// FreeType (WebAssembly) takes the same spans from a table made at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace handset {

struct GlyphRun {
  int row;  // from the top of the character cell
  int x0;   // from the cell's left, right end excluded
  int x1;
};

struct Glyph {
  int advance = 0;
  std::vector<GlyphRun> runs;
};

class FontFace {
 public:
  // Loads `file` at `points` at `dpi`. When the file cannot be read (or the table has
  // no such size) the face still measures text (blank glyphs of half the height) and
  // `error` says why.
  FontFace(const std::filesystem::path& file, int points, int dpi);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int Height() const { return height_; }
  const std::string& Error() const { return error_; }
  const Glyph& GlyphOf(char32_t code);

 private:
  struct Source;
  std::unique_ptr<Source> source_;
  int height_ = 0;
  std::string error_;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// Debian's DejaVu Sans, from fonts-dejavu-core.
inline const std::filesystem::path kSystemFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr int kSystemFontPoints = 9;

// What a table of glyphs holds of a face at one size: every glyph it draws differently
// from the box of a missing character, and that box. Runs are stored small.
struct TableRun {
  std::int8_t row;
  std::int8_t x0;
  std::int8_t x1;
};
struct TableGlyph {
  char32_t code;
  int advance;
  std::uint32_t firstRun;
  std::uint32_t runCount;
};
struct GlyphTable {
  int points;
  int dpi;
  int height;
  const TableGlyph* glyphs;  // by code
  std::size_t glyphCount;
  const TableRun* runs;
  TableGlyph missing;
};
// The tables a build without FreeType carries, made by tools/glyph_table.
std::span<const GlyphTable> GlyphTables();

}  // namespace handset
