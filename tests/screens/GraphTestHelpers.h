#pragma once
// Helpers of the graph screen tests: texts read back from pattern glyphs, scratch
// folders for companion files, and little-endian sample files.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../common/TempFolder.h"
#include "PixelHelpers.h"
#include "rxt4/data/CDataSet.h"

namespace rxt4::test {

// True when the half-width text stands at (x, y) in pattern glyphs of the given
// cell: every blank cell without ink, every other cell carrying its code on row 0.
inline bool TextAt(const Surface& s, int x, int y, FontCell cell, std::string_view text) {
  const int bits = cell.width < 16 ? cell.width : 16;
  const unsigned mask = (1u << bits) - 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int cx = x + static_cast<int>(i) * cell.width;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ' ') {
      if (CountBlack(s, cx, y, cx + cell.width, y + cell.height) != 0) return false;
    } else if (CodeAt(s, cx, y, bits) != (c & mask) || !s.IsBlack(cx + 1, y + 1)) {
      return false;
    }
  }
  return true;
}

// The same for text that was inverted afterwards (white on black).
inline bool InvertedTextAt(const Surface& s, int x, int y, FontCell cell, std::string_view text) {
  Surface copy = s;
  copy.InvertRect(x, y, x + static_cast<int>(text.size()) * cell.width, y + cell.height);
  return TextAt(copy, x, y, cell, text);
}

// A scratch folder removed with its contents at the end of the test.
class ScratchFolder : public TempFolder {
 public:
  ScratchFolder() : TempFolder("graph") {}
  // The companion base of a table named F.CSV in this folder: ".../F."
  std::string Base() const { return (path() / "F.").string(); }
  // Writes bytes into a file of the folder.
  void Write(const std::string& name, const std::string& bytes) const { Put(name, bytes); }
};

inline void PutLe32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void PutLe16(std::string& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>(u >> 8);
}

// A spectrum or delay profile companion file: payload length, the carried word and
// the samples (signed 16-bit little-endian).
inline std::string SampleFile(const std::vector<std::int16_t>& samples) {
  std::string out;
  PutLe32(out, static_cast<std::uint32_t>(samples.size() * 2));
  PutLe32(out, 0x12345678u);
  for (std::int16_t v : samples) PutLe16(out, v);
  return out;
}

// A tree record of one measurement row of the table at tablePath (its companion
// files lie beside the table).
inline CDataSet Record(DataKind kind, const MeasurementRow& row, const std::string& tablePath) {
  CDataSet record;
  record.kind = kind;
  record.index = 1;
  record.row = row;
  record.table = std::make_shared<DataSetTable>(DataSetTable{tablePath, "1"});
  return record;
}

// A multi-channel tree record: the rows of one table (rows[0] is channel 1).
inline CDataSet MultiRecord(std::vector<MeasurementRow> rows) {
  CDataSet record;
  record.kind = DataKind::Multi;
  record.index = 1;
  record.rows = std::move(rows);
  return record;
}

inline constexpr FontCell kCell2{24, 8};
inline constexpr FontCell kCell6{18, 9};

}  // namespace rxt4::test
