#pragma once
// One row of a measurement table: 30 fields in the column order of the table
// header. The row is a view of one line of its table's bytes (shared, immutable),
// so copying a row is cheap and a loaded archive keeps its tables as they were read.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rxt4 {

class MeasurementRow {
 public:
  static constexpr int kColumnCount = 30;

  MeasurementRow() = default;

  // A row over bytes [begin, end) of buffer: one table line without its line feed.
  MeasurementRow(std::shared_ptr<const std::string> buffer, std::uint32_t begin, std::uint32_t end);
  // A row over the length bytes at line, which share the ownership of whatever holds
  // them (a table's bytes, read by the loader into memory of its own).
  MeasurementRow(std::shared_ptr<const char> line, std::uint32_t length);

  // A row made of the given field texts (bytes), joined with commas. For tests and
  // demonstration data; fields must not hold commas or line feeds.
  static MeasurementRow FromFields(const std::vector<std::string>& fields);

  // Field text of column 0..29 exactly as stored (no trimming; a carriage return
  // before the line feed stays in the last field). Empty for a missing field or a
  // column outside 0..29.
  std::string_view Field(int column) const;

  // All 30 fields at once, as Field gives them (one pass over the line).
  std::array<std::string_view, kColumnCount> Fields() const;

  // The whole line, without its line feed.
  std::string_view Line() const;

  // True for a default-constructed row (no data given); a row read from an empty
  // line is not absent.
  bool absent() const { return line_ == nullptr; }

 private:
  std::shared_ptr<const char> line_;  // the line's first byte, owning its table's bytes
  std::uint32_t length_ = 0;
};

}  // namespace rxt4
