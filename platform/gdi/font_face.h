// The handset's one face, rasterised with FreeType as two-colour glyphs and kept as
// row spans, so text is drawn with the same fills as everything else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
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
  // Loads `file` at `points` at `dpi`. When the file cannot be read the face still
  // measures text (blank glyphs of half the height) and `error` says why.
  FontFace(const std::filesystem::path& file, int points, int dpi);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int Height() const { return height_; }
  const std::string& Error() const { return error_; }
  const Glyph& GlyphOf(char32_t code);

 private:
  struct FreeType;
  std::unique_ptr<FreeType> freeType_;
  int ascent_ = 0;
  int height_ = 0;
  std::string error_;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// Debian's DejaVu Sans, from fonts-dejavu-core.
inline const std::filesystem::path kSystemFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr int kSystemFontPoints = 9;

}  // namespace handset
