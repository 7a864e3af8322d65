#pragma once
// Pixel checks for screens drawn with pattern glyphs: a non-blank glyph paints its
// cell's inner box (1 .. w-2, 1 .. h-2) and the low bits of its code on row 0.

#include <cstdint>
#include <string>
#include <vector>

#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/screens/Fonts.h"
#include "rxt4/screens/Surface.h"

namespace rxt4::test {

inline int CountBlack(const Surface& s, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) n += s.IsBlack(x, y) ? 1 : 0;
  return n;
}

inline bool AllWhite(const Surface& s, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (s.Pixel(x, y) != kWhite) return false;
  return true;
}

// A non-blank pattern glyph of `cells` cells whose top-left corner is (x, y), black on white.
inline bool GlyphAt(const Surface& s, int x, int y, FontCell cell, int cells = 1) {
  const int w = cell.width * cells, h = cell.height;
  return s.IsBlack(x + 1, y + 1) && s.IsBlack(x + w - 2, y + h - 2) && !s.IsBlack(x, y + 1) &&
         !s.IsBlack(x + w - 1, y + h - 2) && !s.IsBlack(x + 1, y + h - 1);
}

// The same glyph after inversion (white on black).
inline bool InvertedGlyphAt(const Surface& s, int x, int y, FontCell cell, int cells = 1) {
  const int w = cell.width * cells, h = cell.height;
  return s.Pixel(x + 1, y + 1) == kWhite && s.Pixel(x + w - 2, y + h - 2) == kWhite && s.IsBlack(x, y + 1) &&
         s.IsBlack(x + w - 1, y + h - 2) && s.IsBlack(x + 1, y + h - 1);
}

// The low `bits` bits of the code a pattern glyph carries on its row 0.
inline unsigned CodeAt(const Surface& s, int x, int y, int bits) {
  unsigned code = 0;
  for (int i = 0; i < bits; ++i) code |= (s.IsBlack(x + i, y) ? 1u : 0u) << i;
  return code;
}

// A 30-column row with the given (column, UTF-8 text) fields, stored as Shift-JIS.
inline MeasurementRow Row(std::initializer_list<std::pair<int, std::string>> fields) {
  std::vector<std::string> columns(MeasurementRow::kColumnCount);
  for (const auto& [column, text] : fields) columns[static_cast<std::size_t>(column)] = EncodeSjis(text);
  return MeasurementRow::FromFields(columns);
}

inline constexpr FontCell kCell0{24, 13};
inline constexpr FontCell kCell1{24, 10};
inline constexpr FontCell kCell3{14, 7};
inline constexpr FontCell kCell4{36, 18};
inline constexpr FontCell kCell5{12, 6};

}  // namespace rxt4::test
