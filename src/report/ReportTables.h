#pragma once
// The report's table of one set folder and kind: which columns a customer reads
// (never the instrument's control columns), their headers with units, and the cells
// of each table row (a measurement, a channel row of a multi-channel data set, a
// field row of a SKY row): the instrument's markers in words, a reading the screen
// shows at the end of its scale with its 以上 / 以下, the verdict as a mark and a word.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Columns.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/screens/Fonts.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {

// The verdict's mark and word ("○ 合格", "× 不合格"); a mark alone with word false.
std::string VerdictMark(Verdict verdict, bool word = true);

// A stored reading for the customer: the instrument's markers in words (範囲外(下),
// 範囲外(上), 未測定), anything else as stored, without surrounding blanks.
std::string ReadingText(std::string_view storedSjis);

// What a table column shows.
enum class TableField : unsigned char {
  No, Label, DataName, FieldRow, ChannelRow, Band, Channel, Frequency, Polarization, Modulation, Layer,
  Level, Cn, Mer, Ber, Correction, Verdict,
};

struct TableColumn {
  TableField field;
  Column first;   // the column of the row (SKY: of the first field row)
  Column second;  // SKY: the column of the second field row; otherwise first
  bool optional;  // shown only when some row stores something in it
};

// The columns a kind's table may show, in order.
std::vector<TableColumn> KindColumns(TransferKind kind, bool judged, bool labels);

// The header of a column, with its unit ("レベル (dBμV)").
std::string ColumnHeader(const TableColumn& column);
bool RightAligned(TableField field);

// Table rows of a measurement: a multi-channel data set's channel rows, a SKY row's two
// field rows, else one.
int TableRowsOf(const CDataSet& record);

// The cells of the table rows of measurements. Holds its own screens (never drawn) to
// tell the readings a screen shows clamped at the end of its scale.
class TableCells {
 public:
  TableCells(std::shared_ptr<const FontSet> fonts, const LimitsProfile* profile);

  // The text of a column for table row sub (0 ..< TableRowsOf) of a measurement; the
  // measurement is judged once for all its rows.
  std::string Cell(const CDataSet& record, std::string_view label, int sub, const TableColumn& column);
  // True when the column holds something for the row (optional columns).
  static bool Stored(const CDataSet& record, int sub, const TableColumn& column);
  // Forgets the measurement last judged and shown (its records are let go).
  void Forget() { judged_ = selected_ = nullptr; }

 private:
  const MeasurementRow& RowOf(const CDataSet& record, int sub);
  std::string Clamped(const CDataSet& record, int sub, const TableColumn& column, std::string_view stored);
  Verdict PartVerdict(const CDataSet& record, int sub);

  ScreenSet screens_;
  const LimitsProfile* profile_;
  const CDataSet* judged_ = nullptr;
  const CDataSet* selected_ = nullptr;
  MeasurementJudgement judgement_;
  MeasurementRow channelRow_;
};

}  // namespace rxt4
