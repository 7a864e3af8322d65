#pragma once
// The tables of an export, the same for every format: their schema, and the rows of
// a selection handed one by one to a sink (SQLite database, CSV files, workbook).
//
// Tables: "columns" (the 30 table columns: ASCII name, position, Japanese title);
// "limits" (the limits profile the verdicts were given by, one row per service
// class); "sets" (one row per set folder: its set_id, the job record, the download
// time and the verdict); one table per kind ("level", "ber", "constellation",
// "spectrum", "profile", "sky") keyed by set_id and the measurement number, with a
// column per table column and the verdicts; "multi" (one row per multi-channel data
// set) and "multi_channels" (one row per channel); "readings" (one row per judged
// part of a measurement: the row of a level, BER or constellation measurement, each
// field row of a SKY row, each channel row of a multi-channel table); and, only when
// asked for, the graph data of the companion files: "spectrum_samples",
// "profile_samples" and "constellation_images". docs/export.md describes them.

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4 {

enum class ColumnType { Text, Integer, Real, Png };

// What a column holds beyond its type, for a format that shows more than values.
enum class ColumnRole : unsigned char {
  Plain,
  Code,     // a text that looks like a number but is a code ("0412", "0001", "13"): kept as text
  Verdict,  // a verdict word (合格, 注意, 不合格, 判定なし)
  Stored,   // the stored text beside a number column, when it is no number
};

struct ExportColumn {
  std::string name;
  ColumnType type;
  std::string title;  // Japanese title with its unit, for a workbook's header row
  ColumnRole role = ColumnRole::Plain;
  // The column is the set folder's (the sets table's column of that name): a database
  // keeps it there and shows it in a view; the other formats write it in every row.
  bool fromSets = false;
};

struct ExportTable {
  std::string name;
  std::vector<ExportColumn> columns;
  int keyColumns = 0;      // the first keyColumns columns are the primary key (0: none)
  bool smallRows = false;  // many narrow rows (stored without a separate row id)
  bool graph = false;      // graph data: written only when the samples are asked for
  bool refersToSets = false;  // its set_id names a row of "sets"
  // A database stores the table under this name without its fromSets columns and
  // shows it whole as a view named name; empty for a plain table.
  std::string storedAs;
};

// The tables, in the order they are created.
enum class TableId : int {
  Columns,
  Limits,
  Sets,
  Level,
  Ber,
  Constellation,
  Spectrum,
  Profile,
  Sky,
  Multi,
  MultiChannels,
  Readings,
  SpectrumSamples,
  ProfileSamples,
  ConstellationImages,
};
inline constexpr int kExportTableCount = 15;

// Schema of every table, indexed by TableId.
const std::vector<ExportTable>& ExportSchema();

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

// What an export holds besides the measurements' own columns.
struct ExportOptions {
  // The profile the verdicts are given by (its name and limits go into "limits").
  LimitsProfile profile;
  // The graph data of the companion files: spectrum and delay-profile samples and the
  // constellation images. Off, their tables are not written at all.
  bool samples = false;
  // The rows of a workbook sheet, its header row included: a table with more goes on
  // in another sheet, "NAME (2)", .... Excel's limit; smaller only to try it out.
  std::uint32_t workbookSheetRows = 1048576;
};

// Where the rows go. Cells are valid only during the call.
class TableSink {
 public:
  virtual ~TableSink() = default;
  // Creates the tables of the schema that are written (a graph table only when
  // samples is true); false (with a message) on failure.
  virtual bool Begin(const std::vector<ExportTable>& schema, bool samples) = 0;
  // One row of a table, a cell per column (a sink refuses a row of any other width);
  // false (with a message) on failure.
  virtual bool Insert(TableId table, std::span<const Cell> row) = 0;
  // Why the last call failed.
  virtual std::string error() const = 0;
};

// Hands every row of the selection to the sink: the columns and limits tables, then
// set folder by set folder its measurements in the selection's order (graph rows
// after their measurement, when asked for), their readings, and the set folder's row
// in "sets" once it is judged whole. Progress counts measurements; unreadable
// companion files are reported as warnings. Fails with the sink's error, or when a
// set folder's files cannot be read for its set_id; Cancelled when abort is raised.
JobOutcome WriteExportRows(const MeasurementSource& source, TableSink& sink, const ExportOptions& options,
                           JobObserver& observer, const std::atomic<bool>& abort);

// A marker in words, as "readings" holds it: "範囲外(下)", "範囲外(上)", "未測定".
std::string_view MarkerWords(ValueKind kind);

}  // namespace rxt4
