#include "ReportTables.h"

#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/screens/BerScreen.h"
#include "rxt4/screens/ConstelScreen.h"
#include "rxt4/screens/LevelScreen.h"
#include "rxt4/screens/SkyScreen.h"

namespace rxt4 {
namespace {

using F = TableField;

std::string Display(std::string_view sjis) { return DecodeSjis(Trim(sjis)); }

// The control columns never reach a table: every column a table reads is checked.
constexpr bool NoControlColumns(std::initializer_list<Column> columns) {
  for (Column c : columns)
    if (Info(c).control) return false;
  return true;
}
static_assert(NoControlColumns({Column::No, Column::DataName, Column::BandName, Column::Channel, Column::Polarization,
                                Column::Frequency, Column::Level, Column::Cn, Column::Modulation, Column::Correction,
                                Column::Layer, Column::Ber, Column::Mer, Column::BandName2, Column::Channel2,
                                Column::Polarization2, Column::Level2, Column::Ber2, Column::Cn2,
                                Column::Correction2}));

}  // namespace

std::string VerdictMark(Verdict verdict, bool word) {
  StringId mark = StringId::RptMarkNone;
  switch (verdict) {
    case Verdict::Pass: mark = StringId::RptMarkPass; break;
    case Verdict::Caution: mark = StringId::RptMarkCaution; break;
    case Verdict::Fail: mark = StringId::RptMarkFail; break;
    case Verdict::None: break;
  }
  std::string text(Text(mark, Language::Japanese));
  if (word) {
    text += ' ';
    text += VerdictText(verdict, Language::Japanese);
  }
  return text;
}

std::string ReadingText(std::string_view storedSjis) {
  const std::string_view t = Trim(storedSjis);
  if (t == "---.-" || t == "-.-----") return std::string(Text(StringId::RptMarkerNone, Language::Japanese));
  if (t == "___._" || t == "_._____") return std::string(Text(StringId::RptMarkerBelow, Language::Japanese));
  if (t == "~~~.~" || t == "~.~~~~~") return std::string(Text(StringId::RptMarkerAbove, Language::Japanese));
  return DecodeSjis(t);
}

std::vector<TableColumn> KindColumns(TransferKind kind, bool judged, bool labels) {
  auto one = [](F f, Column c, bool optional = false) { return TableColumn{f, c, c, optional}; };
  auto two = [](F f, Column a, Column b, bool optional = false) { return TableColumn{f, a, b, optional}; };
  std::vector<TableColumn> columns = {one(F::No, Column::No)};
  if (labels) columns.push_back(one(F::Label, Column::DataName));
  columns.push_back(one(F::DataName, Column::DataName));
  switch (kind) {
    case TransferKind::Level:
      columns.insert(columns.end(), {one(F::Band, Column::BandName), one(F::Channel, Column::Channel),
                                     one(F::Frequency, Column::Frequency), one(F::Polarization, Column::Polarization, true),
                                     one(F::Modulation, Column::Modulation, true), one(F::Level, Column::Level),
                                     one(F::Cn, Column::Cn, true), one(F::Correction, Column::Correction, true)});
      break;
    case TransferKind::Ber:
      columns.insert(columns.end(), {one(F::Band, Column::BandName), one(F::Channel, Column::Channel),
                                     one(F::Frequency, Column::Frequency), one(F::Polarization, Column::Polarization, true),
                                     one(F::Modulation, Column::Modulation, true), one(F::Layer, Column::Layer, true),
                                     one(F::Ber, Column::Ber), one(F::Cn, Column::Cn, true), one(F::Mer, Column::Mer, true),
                                     one(F::Level, Column::Level, true)});
      break;
    case TransferKind::Sky:
      columns.insert(columns.end(),
                     {two(F::FieldRow, Column::No, Column::No), two(F::Band, Column::BandName, Column::BandName2),
                      two(F::Channel, Column::Channel, Column::Channel2),
                      two(F::Polarization, Column::Polarization, Column::Polarization2, true),
                      two(F::Level, Column::Level, Column::Level2, true), two(F::Ber, Column::Ber, Column::Ber2, true),
                      two(F::Cn, Column::Cn, Column::Cn2, true),
                      two(F::Correction, Column::Correction, Column::Correction2, true)});
      break;
    case TransferKind::Constellation:
      columns.insert(columns.end(), {one(F::Band, Column::BandName), one(F::Channel, Column::Channel),
                                     one(F::Frequency, Column::Frequency, true), one(F::Modulation, Column::Modulation, true),
                                     one(F::Layer, Column::Layer, true), one(F::Mer, Column::Mer)});
      break;
    case TransferKind::Multi:
      columns.insert(columns.end(), {one(F::ChannelRow, Column::No), one(F::Band, Column::BandName),
                                     one(F::Channel, Column::Channel), one(F::Frequency, Column::Frequency),
                                     one(F::Polarization, Column::Polarization, true),
                                     one(F::Modulation, Column::Modulation, true), one(F::Level, Column::Level),
                                     one(F::Correction, Column::Correction, true)});
      break;
    case TransferKind::Spectrum:
    case TransferKind::Profile:
    case TransferKind::None:
      columns.insert(columns.end(), {one(F::Band, Column::BandName), one(F::Channel, Column::Channel),
                                     one(F::Frequency, Column::Frequency, true),
                                     one(F::Modulation, Column::Modulation, true)});
      break;
  }
  if (judged) columns.push_back(one(F::Verdict, Column::No));
  return columns;
}

std::string ColumnHeader(const TableColumn& column) {
  StringId id = StringId::RptHeadNo;
  switch (column.field) {
    case F::No: id = StringId::RptHeadNo; break;
    case F::Label: id = StringId::RptHeadLabel; break;
    case F::DataName: id = StringId::RptHeadDataName; break;
    case F::FieldRow: id = StringId::RptHeadField; break;
    case F::ChannelRow: id = StringId::RptHeadChannelRow; break;
    case F::Band: id = StringId::RptHeadBand; break;
    case F::Channel: id = StringId::RptHeadChannel; break;
    case F::Frequency: id = StringId::RptHeadFrequency; break;
    case F::Polarization: id = StringId::RptHeadPolarization; break;
    case F::Modulation: id = StringId::RptHeadModulation; break;
    case F::Layer: id = StringId::RptHeadLayer; break;
    case F::Level: id = StringId::ReadingLevel; break;
    case F::Cn: id = StringId::ReadingCn; break;
    case F::Mer: id = StringId::ReadingMer; break;
    case F::Ber: id = StringId::ReadingBer; break;
    case F::Correction: id = StringId::RptHeadCorrection; break;
    case F::Verdict: id = StringId::RptHeadVerdict; break;
  }
  const bool reading = column.field == F::Frequency || column.field == F::Level || column.field == F::Cn ||
                       column.field == F::Mer || column.field == F::Correction;
  const std::string_view unit = Info(column.first).unit;
  if (!reading || unit.empty()) return std::string(Text(id, Language::Japanese));
  return FillIn(Text(StringId::RptWithUnit, Language::Japanese), {Text(id, Language::Japanese), unit});
}

bool RightAligned(TableField f) {
  switch (f) {
    case F::No: case F::FieldRow: case F::ChannelRow: case F::Frequency: case F::Level: case F::Cn: case F::Mer:
    case F::Ber: case F::Correction:
      return true;
    case F::Label: case F::DataName: case F::Band: case F::Channel: case F::Polarization: case F::Modulation:
    case F::Layer: case F::Verdict:
      return false;
  }
  return false;
}

int TableRowsOf(const CDataSet& record) {
  if (record.kind == DataKind::Multi) return record.rows.empty() ? 1 : static_cast<int>(record.rows.size());
  if (record.kind == DataKind::Sky) return 2;
  return 1;
}

TableCells::TableCells(std::shared_ptr<const FontSet> fonts, const LimitsProfile* profile)
    : screens_(std::move(fonts)), profile_(profile) {}

const MeasurementRow& TableCells::RowOf(const CDataSet& record, int sub) {
  if (record.kind == DataKind::Multi && static_cast<std::size_t>(sub) < record.rows.size())
    return record.rows[static_cast<std::size_t>(sub)];
  return record.row;
}

bool TableCells::Stored(const CDataSet& record, int sub, const TableColumn& column) {
  const MeasurementRow& row =
      record.kind == DataKind::Multi && static_cast<std::size_t>(sub) < record.rows.size()
          ? record.rows[static_cast<std::size_t>(sub)]
          : record.row;
  const std::string_view t = Trim(Field(row, sub == 1 && record.kind == DataKind::Sky ? column.second : column.first));
  if (column.field == F::Correction) return !t.empty() && t != "OFF";
  return !t.empty();
}

// The readings a screen shows at the end of its scale, with its 以上 / 以下: the
// screen's own rule tells which (it clamps C/N and MER by screen type and band).
std::string TableCells::Clamped(const CDataSet& record, int sub, const TableColumn& column, std::string_view stored) {
  if (column.field != F::Cn && column.field != F::Mer) return ReadingText(stored);
  if (selected_ != &record) {
    screens_.Select(record);
    selected_ = &record;
  }
  int flag = 0;
  std::string shown;
  const CScreen* screen = screens_.Current();
  if (const auto* level = dynamic_cast<const CLevelScreen*>(screen); level && column.field == F::Cn) {
    flag = level->cnFlag;
    shown = level->cnText;
  } else if (const auto* ber = dynamic_cast<const CBerScreen*>(screen)) {
    flag = column.field == F::Cn ? ber->cnFlag : ber->merFlag;
    shown = column.field == F::Cn ? ber->cnText : ber->merText;
  } else if (const auto* sky = dynamic_cast<const CSkyScreen*>(screen); sky && column.field == F::Cn) {
    flag = sub == 1 ? sky->cn2Flag : sky->cnFlag;
    shown = sub == 1 ? sky->cn2Text : sky->cnText;
  } else if (const auto* constel = dynamic_cast<const CConstelScreen*>(screen); constel && column.field == F::Mer) {
    flag = constel->merFlag;
    shown = constel->merText;
  }
  if (flag == 0) return ReadingText(stored);
  const std::string value = Display(shown);
  return FillIn(Text(flag == 2 ? StringId::RptClampedAbove : StringId::RptClampedBelow, Language::Japanese), {value});
}

Verdict TableCells::PartVerdict(const CDataSet& record, int sub) {
  if (profile_ == nullptr) return Verdict::None;
  if (judged_ != &record) {
    JudgeMeasurement(record, *profile_, judgement_);
    judged_ = &record;
  }
  if (record.kind != DataKind::Multi && record.kind != DataKind::Sky) return judgement_.verdict;
  for (const PartJudgement& part : judgement_.parts)
    if ((record.kind == DataKind::Multi ? part.row : part.field) == sub + 1) return part.verdict;
  return Verdict::None;
}

std::string TableCells::Cell(const CDataSet& record, std::string_view label, int sub, const TableColumn& column) {
  const MeasurementRow& row = RowOf(record, sub);
  const Column c = sub == 1 && record.kind == DataKind::Sky ? column.second : column.first;
  const std::string_view stored = Field(row, c);
  switch (column.field) {
    case F::No: return sub == 0 ? std::to_string(record.index) : std::string();
    case F::Label: return sub == 0 ? std::string(label) : std::string();
    case F::DataName: return sub == 0 ? Display(Field(record.firstRow(), Column::DataName)) : std::string();
    case F::FieldRow: case F::ChannelRow: return std::to_string(sub + 1);
    case F::Band: case F::Channel: case F::Polarization: case F::Modulation: case F::Layer: case F::Frequency:
      return Display(stored);
    case F::Correction: return Display(stored);
    case F::Level: case F::Ber: return ReadingText(stored);
    case F::Cn: case F::Mer: return Clamped(record, sub, column, stored);
    case F::Verdict: return VerdictMark(PartVerdict(record, sub));
  }
  return {};
}

}  // namespace rxt4
