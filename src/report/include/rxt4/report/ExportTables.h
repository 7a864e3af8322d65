#pragma once
// The tables of an export, the same for every format: their schema, and the rows of
// a selection handed one by one to a sink (SQLite database, CSV files).
//
// Tables: "columns" (the 30 table columns: ASCII name, position, Japanese title);
// one table per kind ("level", "ber", "constellation", "spectrum", "profile", "sky")
// with the set folder and the measurement number as keys and a column per table
// column; "multi" (one row per multi-channel data set) and "multi_channels" (one row
// per channel); and the graph data of the companion files: "spectrum_samples",
// "profile_samples" and "constellation_images". docs/export.md describes them.

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4 {

enum class ColumnType { Text, Integer, Real, Png };

struct ExportColumn {
  std::string name;
  ColumnType type;
};

struct ExportTable {
  std::string name;
  std::vector<ExportColumn> columns;
  int keyColumns = 0;      // the first keyColumns columns are the primary key
  bool smallRows = false;  // many narrow rows (stored without a separate row id)
};

// The tables, in the order they are created.
enum class TableId : int {
  Columns,
  Level,
  Ber,
  Constellation,
  Spectrum,
  Profile,
  Sky,
  Multi,
  MultiChannels,
  SpectrumSamples,
  ProfileSamples,
  ConstellationImages,
};
inline constexpr int kExportTableCount = 12;

// Schema of every table, indexed by TableId.
const std::vector<ExportTable>& ExportSchema();

// ASCII name of table column 0..29 ("record_no", "data_name", ... "correction2").
std::string_view ExportColumnName(int column);
// True for the table columns stored as numbers (each with a "<name>_text" column).
bool IsNumericColumn(int column);

// One cell: NULL, a number, a UTF-8 text or the bytes of a PNG image.
struct Cell {
  enum class Kind { Null, Integer, Real, Text, Bytes } kind = Kind::Null;
  std::int64_t integer = 0;
  double real = 0;
  std::string_view text;  // Text: UTF-8; Bytes: the image

  static Cell Null() { return {}; }
  static Cell Int(std::int64_t v) { return {Kind::Integer, v, 0, {}}; }
  static Cell Real(double v) { return {Kind::Real, 0, v, {}}; }
  static Cell Text(std::string_view v) { return {Kind::Text, 0, 0, v}; }
  static Cell Bytes(std::string_view v) { return {Kind::Bytes, 0, 0, v}; }
};

// Where the rows go. Cells are valid only during the call.
class TableSink {
 public:
  virtual ~TableSink() = default;
  // Creates every table of the schema; false (with a message) on failure.
  virtual bool Begin(const std::vector<ExportTable>& schema) = 0;
  // One row of a table, a cell per column; false (with a message) on failure.
  virtual bool Insert(TableId table, std::span<const Cell> row) = 0;
  // Why the last call failed.
  virtual std::string error() const = 0;
};

// Hands every row of the selection to the sink: the columns table, then the
// measurements in the selection's order (graph rows after their measurement).
// Progress counts measurements; unreadable companion files are reported as
// warnings. Fails with the sink's error; Cancelled when abort is raised.
JobOutcome WriteExportRows(const MeasurementSource& source, TableSink& sink, JobObserver& observer,
                           const std::atomic<bool>& abort);

}  // namespace rxt4
