#pragma once
// One tree item's record: the measurement (or multi-channel rows) a tree item stands
// for, with the texts of the "データNo." labels and the table it came from.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/Kinds.h"
#include "rxt4/data/MeasurementRow.h"

namespace rxt4 {

// What the records of one table share: its path and its count text.
struct DataSetTable {
  std::string path;       // full path of the measurement table
  std::string countText;  // single-row kinds: "%d" of the row count; multi-channel: COUNT.CNT's count text
};

class CDataSet {
 public:
  // A loaded archive holds one record per measurement: kind and index side by side
  // keep a record at 72 bytes.
  DataKind kind = DataKind::None;          // DataKind::None for root and set folder items
  int index = 0;                           // row number (from 1) or multi-channel table number
  MeasurementRow row;                      // single-row kinds; absent otherwise
  std::vector<MeasurementRow> rows;        // multi-channel: rows[0] is key "1", in file order
  std::shared_ptr<const DataSetTable> table;

  // "%d" of the index; empty for root and folder records.
  std::string indexText() const;
  // The count text for the "データNo." label; empty for root and folder records.
  std::string_view countText() const;
  // Full path of the table; empty for root and folder records.
  std::string_view tablePath() const;
  // The table path up to and including its last "." (the companion base path).
  std::string companionBase() const;
  // The multi-channel row under key "1", "2", ...; absent for any other key.
  MeasurementRow RowByKey(std::string_view key) const;
  // The row that names the item: row, or rows[0] for multi-channel records.
  MeasurementRow firstRow() const;
};

}  // namespace rxt4
