#pragma once
// Reader of one measurement table file: the header line is skipped, every following
// line that ends with a line feed is a row, a row whose first field begins with "*"
// ends the table. The file is read in one go into one shared buffer; rows are views
// into it.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rxt4/data/MeasurementRow.h"

namespace rxt4 {

class CsvTable {
 public:
  // The longest table file read: ten times the largest table the instrument can send
  // (32767 records of 180 bytes). A longer file is refused without being read.
  static constexpr std::uint64_t kMaxFileBytes = 64ull << 20;

  // Reads the table at path, replacing any rows held. Returns the number of rows read,
  // or -1 when the file cannot be opened, is no regular file or is too long, or ends
  // inside the header line. After a read failure the rows completed before it are
  // kept. errorMessage() tells of a failure.
  int Read(const std::filesystem::path& path);

  // Parses table bytes as if read from a file: the rows stored, or -1 when the bytes
  // end inside the header line.
  int Parse(std::string bytes);

  int rowCount() const { return static_cast<int>(lines_.size()); }

  // The rows of table bytes as [begin, end) byte ranges without their line feeds
  // (replacing lines' contents): their number, or -1 when the bytes end inside the
  // header line. The rule of Parse, for readers that keep the bytes themselves.
  using LineSpan = std::pair<std::uint32_t, std::uint32_t>;
  static int SplitRows(std::string_view bytes, std::vector<LineSpan>& lines);

  // Row index from 0; an absent row when the index is out of range.
  MeasurementRow Row(int index) const;

  // The platform's description of the last open or read failure and the file name;
  // empty when the last read had none.
  const std::string& errorMessage() const { return errorMessage_; }

  // The bytes of the whole file; rows point into it.
  const std::shared_ptr<const std::string>& buffer() const { return buffer_; }

 private:
  int Split();

  std::shared_ptr<const std::string> buffer_;
  std::vector<LineSpan> lines_;
  std::string errorMessage_;
};

}  // namespace rxt4
