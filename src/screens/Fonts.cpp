#include "rxt4/screens/Fonts.h"

#include <algorithm>

#include "rxt4/data/Sjis.h"

namespace rxt4 {

GlyphBitmap PatternGlyphSource::Render(char32_t code, FontCell cell, int cells) const {
  GlyphBitmap glyph;
  glyph.width = std::max(cells, 1) * cell.width;
  glyph.height = cell.height;
  glyph.ink.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
  if (code == U' ' || code == U'\u3000') return glyph;
  for (int y = 1; y + 1 < glyph.height; ++y)
    for (int x = 1; x + 1 < glyph.width; ++x) glyph.ink[static_cast<std::size_t>(y * glyph.width + x)] = 1;
  for (int x = 0; x < glyph.width && x < 32; ++x)
    glyph.ink[static_cast<std::size_t>(x)] = ((static_cast<std::uint32_t>(code) >> x) & 1u) != 0 ? 1 : 0;
  return glyph;
}

FontSet::FontSet(std::unique_ptr<GlyphSource> source) : source_(std::move(source)) {
  if (!source_) source_ = std::make_unique<PatternGlyphSource>();
}

std::shared_ptr<const FontSet> FontSet::CreateDefault(std::string* warning) {
  std::string error;
  std::unique_ptr<GlyphSource> source = FreeTypeGlyphSource::OpenDefault(&error);
  if (!source) {
    if (warning != nullptr) *warning = error;
    source = std::make_unique<PatternGlyphSource>();
  }
  return std::make_shared<const FontSet>(std::move(source));
}

std::shared_ptr<const FontSet> FontSet::CreatePattern() {
  return std::make_shared<const FontSet>(std::make_unique<PatternGlyphSource>());
}

const GlyphBitmap& FontSet::Glyph(int index, std::string_view sjisCharacter) const {
  const int slot = FontSlot(index);
  // The Shift-JIS code names the character and, by its byte count, its cell count.
  std::uint32_t code = 0;
  const std::size_t length = std::min<std::size_t>(sjisCharacter.size(), 2);
  for (std::size_t i = 0; i < length; ++i) code = (code << 8) | static_cast<unsigned char>(sjisCharacter[i]);
  if (length == 2) code |= 0x10000u;  // keeps "\x00X" apart from "X"
  const std::uint32_t key = (static_cast<std::uint32_t>(slot) << 20) | code;

  std::lock_guard<std::mutex> lock(cacheMutex_);
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  const char32_t unicode = length == 0 ? U' ' : DecodeSjisChar(sjisCharacter.substr(0, length));
  GlyphBitmap glyph = source_->Render(unicode, FontCellOf(slot), length == 2 ? 2 : 1);
  // A source must deliver exactly the cell size; anything else is cut or padded.
  const int width = (length == 2 ? 2 : 1) * FontCellOf(slot).width, height = FontCellOf(slot).height;
  if (glyph.width != width || glyph.height != height ||
      glyph.ink.size() != static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height)) {
    GlyphBitmap fitted;
    fitted.width = width;
    fitted.height = height;
    fitted.ink.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    if (glyph.ink.size() == static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height))
      for (int y = 0; y < std::min(height, glyph.height); ++y)
        for (int x = 0; x < std::min(width, glyph.width); ++x)
          fitted.ink[static_cast<std::size_t>(y * width + x)] = glyph.Ink(x, y) ? 1 : 0;
    glyph = std::move(fitted);
  }
  return cache_.emplace(key, std::move(glyph)).first->second;
}

}  // namespace rxt4
