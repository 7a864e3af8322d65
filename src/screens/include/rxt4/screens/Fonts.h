#pragma once
// The font set of the screens: seven fixed cell sizes, glyphs from a glyph source,
// cached per font and character. Texts are Shift-JIS bytes; a half-width character
// takes one cell of the font's width, a full-width character two.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rxt4 {

inline constexpr int kFontCount = 7;

// Cell size of a font: height and half-width character width in pixels.
struct FontCell {
  int height = 0;
  int width = 0;
};

// The slot a font index selects: 1..6 themselves, anything else 0.
constexpr int FontSlot(int index) { return index >= 1 && index <= 6 ? index : 0; }

// Cell size of a font index (24x13, 24x10, 24x8, 14x7, 36x18, 12x6, 18x9).
constexpr FontCell FontCellOf(int index) {
  constexpr FontCell cells[kFontCount] = {{24, 13}, {24, 10}, {24, 8}, {14, 7}, {36, 18}, {12, 6}, {18, 9}};
  return cells[FontSlot(index)];
}

// One rendered character: a monochrome bitmap exactly the size of its cells.
struct GlyphBitmap {
  int width = 0;   // cells x cell width
  int height = 0;  // cell height
  std::vector<std::uint8_t> ink;  // width x height, row-major; 1 = painted

  bool Ink(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && ink[static_cast<std::size_t>(y * width + x)] != 0; }
};

// Where glyphs come from: a font file, or a deterministic pattern for tests.
class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  // Renders code point `code` into `cells` cells of the given cell size.
  virtual GlyphBitmap Render(char32_t code, FontCell cell, int cells) const = 0;
  // Names the source (the font file, or the pattern) for messages.
  virtual std::string Describe() const = 0;
};

// Deterministic glyphs: blanks (U+0020, U+3000) have no ink; any other character
// paints the box from (1, 1) to (width - 2, height - 2) inclusive, and row 0 carries
// the low bits of the code point (bit i at x = i, for i below the glyph width).
class PatternGlyphSource : public GlyphSource {
 public:
  GlyphBitmap Render(char32_t code, FontCell cell, int cells) const override;
  std::string Describe() const override { return "pattern glyphs"; }
};

// Glyphs of a TrueType/OpenType font rendered monochrome by FreeType.
class FreeTypeGlyphSource : public GlyphSource {
 public:
  ~FreeTypeGlyphSource() override;
  FreeTypeGlyphSource(const FreeTypeGlyphSource&) = delete;
  FreeTypeGlyphSource& operator=(const FreeTypeGlyphSource&) = delete;

  // Finds the screen font through fontconfig ("MS Gothic", else IPAGothic) and opens
  // it; nullptr with a reason in *error when none can be opened.
  static std::unique_ptr<FreeTypeGlyphSource> OpenDefault(std::string* error = nullptr);
  // Opens a font file; nullptr with a reason in *error when it cannot be opened.
  static std::unique_ptr<FreeTypeGlyphSource> OpenFile(const std::filesystem::path& file, std::string* error = nullptr);

  GlyphBitmap Render(char32_t code, FontCell cell, int cells) const override;
  std::string Describe() const override;

 private:
  struct Impl;
  explicit FreeTypeGlyphSource(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The seven fonts of the screens over one glyph source. Share one set between all
// screens of a viewer; rendering is cached, and the cache is safe to use from
// several threads.
class FontSet {
 public:
  explicit FontSet(std::unique_ptr<GlyphSource> source);
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // The screen font when one is found, otherwise pattern glyphs (with the reason in
  // *warning).
  static std::shared_ptr<const FontSet> CreateDefault(std::string* warning = nullptr);
  // A set of pattern glyphs (tests, and machines without a Japanese font).
  static std::shared_ptr<const FontSet> CreatePattern();

  // Glyph of one Shift-JIS character (1 or 2 bytes) in font index.
  const GlyphBitmap& Glyph(int index, std::string_view sjisCharacter) const;
  // Cell size of font index.
  FontCell Cell(int index) const { return FontCellOf(index); }
  const GlyphSource& source() const { return *source_; }

 private:
  std::unique_ptr<GlyphSource> source_;
  mutable std::mutex cacheMutex_;
  mutable std::unordered_map<std::uint32_t, GlyphBitmap> cache_;
};

}  // namespace rxt4
