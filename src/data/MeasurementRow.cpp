#include "rxt4/data/MeasurementRow.h"

#include <utility>

namespace rxt4 {

MeasurementRow::MeasurementRow(std::shared_ptr<const std::string> buffer, std::uint32_t begin, std::uint32_t end) {
  if (!buffer) return;
  if (begin > end || end > buffer->size()) begin = end = 0;
  const char* first = buffer->data() + begin;
  line_ = std::shared_ptr<const char>(std::move(buffer), first);
  length_ = end - begin;
}

MeasurementRow::MeasurementRow(std::shared_ptr<const char> line, std::uint32_t length)
    : line_(std::move(line)), length_(line_ ? length : 0) {}

MeasurementRow MeasurementRow::FromFields(const std::vector<std::string>& fields) {
  auto buffer = std::make_shared<std::string>();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) *buffer += ',';
    *buffer += fields[i];
  }
  auto size = static_cast<std::uint32_t>(buffer->size());
  return MeasurementRow(std::move(buffer), 0, size);
}

std::string_view MeasurementRow::Line() const {
  if (!line_) return {};
  return std::string_view(line_.get(), length_);
}

std::string_view MeasurementRow::Field(int column) const {
  if (column < 0 || column >= kColumnCount) return {};
  std::string_view line = Line();
  std::size_t start = 0;
  for (int i = 0; i < column; ++i) {
    std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  std::size_t comma = line.find(',', start);
  return line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
}

std::array<std::string_view, MeasurementRow::kColumnCount> MeasurementRow::Fields() const {
  std::array<std::string_view, kColumnCount> fields{};
  const std::string_view line = Line();
  std::size_t start = 0;
  for (int i = 0; i < kColumnCount; ++i) {
    const std::size_t comma = line.find(',', start);
    fields[static_cast<std::size_t>(i)] = line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

}  // namespace rxt4
