#include "rxt4/data/CsvTable.h"

#include <cstring>

#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

int CsvTable::Read(const std::filesystem::path& path) {
  lines_.clear();
  buffer_.reset();
  auto bytes = std::make_shared<std::string>();
  FileStatus status = ReadFileBytes(path, kMaxFileBytes, *bytes, errorMessage_);
  if (status == FileStatus::OpenFailed || status == FileStatus::Refused) return -1;
  buffer_ = std::move(bytes);
  return Split();
}

int CsvTable::Parse(std::string bytes) {
  lines_.clear();
  errorMessage_.clear();
  buffer_ = std::make_shared<const std::string>(std::move(bytes));
  return Split();
}

int CsvTable::Split() {
  const int rows = SplitRows(*buffer_, lines_);
  if (rows < 0) buffer_.reset();
  return rows;
}

int CsvTable::SplitRows(std::string_view bytes, std::vector<LineSpan>& lines) {
  lines.clear();
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  const void* headerEnd = size ? std::memchr(data, '\n', size) : nullptr;
  if (!headerEnd) return -1;
  std::size_t pos = static_cast<std::size_t>(static_cast<const char*>(headerEnd) - data) + 1;
  // Only lines that end with a line feed are rows: a last line without one is an
  // unfinished row and is dropped, like the instrument's own reader does.
  while (pos < size) {
    const void* lf = std::memchr(data + pos, '\n', size - pos);
    if (!lf) break;
    std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
    if (data[pos] == '*') break;  // the end row (its first field begins with "*")
    lines.emplace_back(static_cast<std::uint32_t>(pos), static_cast<std::uint32_t>(end));
    pos = end + 1;
  }
  return static_cast<int>(lines.size());
}

MeasurementRow CsvTable::Row(int index) const {
  if (index < 0 || index >= rowCount()) return {};
  const auto& [begin, end] = lines_[static_cast<std::size_t>(index)];
  return MeasurementRow(buffer_, begin, end);
}

}  // namespace rxt4
