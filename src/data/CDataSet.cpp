#include "rxt4/data/CDataSet.h"

#include "rxt4/data/Paths.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

std::string CDataSet::indexText() const { return kind == DataKind::None ? std::string() : std::to_string(index); }

std::string_view CDataSet::countText() const { return table ? std::string_view(table->countText) : std::string_view(); }

std::string_view CDataSet::tablePath() const { return table ? std::string_view(table->path) : std::string_view(); }

std::string CDataSet::companionBase() const { return table ? CompanionBase(table->path) : std::string(); }

MeasurementRow CDataSet::RowByKey(std::string_view key) const {
  // Keys are the plain decimal texts "1", "2", ...: no sign, blanks or leading zeros.
  if (key.empty() || key.size() > 9 || key[0] == '0') return {};
  for (char c : key)
    if (c < '0' || c > '9') return {};
  long long i = ParseInt(key);
  if (i < 1 || i > static_cast<long long>(rows.size())) return {};
  return rows[static_cast<std::size_t>(i - 1)];
}

MeasurementRow CDataSet::firstRow() const {
  if (kind == DataKind::Multi) return rows.empty() ? MeasurementRow() : rows.front();
  return row;
}

}  // namespace rxt4
