// Measurement tables and count files parsed from arbitrary bytes, every field of
// every row read back.

#include <string>
#include <string_view>

#include "FuzzEntry.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/MeasurementRow.h"

namespace rxt4::fuzz {
namespace {

// Touches every byte of a view so that a view past its buffer is caught.
std::size_t Touch(std::string_view text) {
  std::size_t sum = 0;
  for (char c : text) sum += static_cast<unsigned char>(c);
  return sum;
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzTable) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::size_t sum = 0;

  CsvTable table;
  // -1 when the bytes end inside the header line: then there are no rows.
  const int parsed = table.Parse(bytes);
  const int rows = table.rowCount();
  if (parsed != (parsed < 0 ? -1 : rows) || (parsed < 0 && rows != 0)) __builtin_trap();
  for (int r = -1; r <= rows; ++r) {
    const MeasurementRow row = table.Row(r);
    if ((r < 0 || r == rows) != row.absent()) __builtin_trap();
    sum += Touch(row.Line());
    for (int c = -1; c <= MeasurementRow::kColumnCount; ++c) {
      const std::string_view field = row.Field(c);
      if ((c < 0 || c >= MeasurementRow::kColumnCount) && !field.empty()) __builtin_trap();
      if (field.find(',') != std::string_view::npos || field.find('\n') != std::string_view::npos) __builtin_trap();
      sum += Touch(field);
    }
  }

  CountFile count;
  count.Parse(bytes);
  sum += Touch(count.countText()) + Touch(count.versionText());
  if (count.versionValid() != (count.versionText() == CountFile::kVersion)) __builtin_trap();
  return static_cast<int>(sum & 0);
}

}  // namespace rxt4::fuzz
