#include "rxt4/report/ExportTables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <future>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "rxt4/data/Columns.h"
#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/FileTexts.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/ServiceClass.h"
#include "rxt4/judge/Verdict.h"
#include "rxt4/report/CompanionWarnings.h"
#include "rxt4/report/SetDigest.h"
#include "rxt4/screens/CompanionData.h"
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/Surface.h"

namespace rxt4 {

namespace {

// The table columns a reading can be judged in, each with a verdict of its own.
constexpr std::array<Column, 7> kJudgedColumns = {Column::Level, Column::Cn,     Column::Mer, Column::Ber,
                                                  Column::Level2, Column::Ber2, Column::Cn2};

int JudgedSlot(Column c) {
  for (std::size_t i = 0; i < kJudgedColumns.size(); ++i)
    if (kJudgedColumns[i] == c) return static_cast<int>(i);
  return -1;
}

// Progress is reported every this many measurements (and at the end).
constexpr int kProgressEvery = 256;

// A table column's title with the unit of its number ("レベル (dBμV)").
std::string TitleWithUnit(const ColumnInfo& info) {
  std::string title(info.title);
  if (!info.unit.empty()) title += " (" + std::string(info.unit) + ")";
  return title;
}

ColumnType TypeOf(ColumnValue v) {
  return v == ColumnValue::Text ? ColumnType::Text : v == ColumnValue::Integer ? ColumnType::Integer : ColumnType::Real;
}

ExportColumn Col(std::string name, ColumnType type, std::string title, ColumnRole role = ColumnRole::Plain) {
  return {std::move(name), type, std::move(title), role, false};
}

// The 30 table columns (numbers with their "_text" columns), the row's service class
// and verdict, and the verdict of each reading that can be judged.
void AddRowColumns(std::vector<ExportColumn>& columns) {
  for (const ColumnInfo& info : kColumnInfo) {
    columns.push_back(Col(std::string(info.asciiName), TypeOf(info.value), TitleWithUnit(info)));
    if (info.value != ColumnValue::Text)
      columns.push_back(Col(std::string(info.asciiName) + "_text", ColumnType::Text, std::string(info.title) + " (記録)",
                            ColumnRole::Stored));
  }
  columns.push_back(Col("service_class", ColumnType::Text, "サービス"));
  columns.push_back(Col("verdict", ColumnType::Text, "判定", ColumnRole::Verdict));
  columns.push_back(Col("verdict_reason", ColumnType::Text, "判定理由"));
  for (Column c : kJudgedColumns) {
    const std::string name(Info(c).asciiName);
    const std::string title(Info(c).title);
    columns.push_back(Col(name + "_verdict", ColumnType::Text, title + " 判定", ColumnRole::Verdict));
    columns.push_back(Col(name + "_verdict_reason", ColumnType::Text, title + " 判定理由"));
  }
}

// A table keyed by the set folder's set_id and the measurement number, then extraKeys.
ExportTable KeyedTable(std::string name, std::vector<ExportColumn> extraKeys, bool smallRows = false) {
  ExportTable t;
  t.name = std::move(name);
  t.columns = {Col("set_id", ColumnType::Text, "セットID"), Col("item", ColumnType::Integer, "データNo.")};
  t.smallRows = smallRows;
  t.refersToSets = true;
  for (ExportColumn& c : extraKeys) t.columns.push_back(std::move(c));
  t.keyColumns = static_cast<int>(t.columns.size());
  return t;
}

// The columns a measurement table has after its keys.
void AddMeasurementHead(ExportTable& t) {
  t.columns.push_back(Col("set_folder", ColumnType::Text, "セットフォルダ"));
  t.columns.push_back(Col("label", ColumnType::Text, "ラベル"));
}

// The job record's fields, as "sets" names them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kJobColumns = {{
    {"title", "件名"},
    {"customer", "お客様名"},
    {"property", "物件名"},
    {"address", "住所"},
    {"measured_at", "測定日時"},
    {"weather", "天候"},
    {"technician", "測定者"},
    {"instrument", "計器"},
    {"findings", "所見"},
}};

// The counts "sets" holds, in this order.
constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kCountColumns = {{
    {"measurements", "測定数"},
    {"measurements_pass", "合格 (測定)"},
    {"measurements_caution", "注意 (測定)"},
    {"measurements_fail", "不合格 (測定)"},
    {"measurements_none", "判定なし (測定)"},
    {"readings_pass", "合格 (読み値)"},
    {"readings_caution", "注意 (読み値)"},
    {"readings_fail", "不合格 (読み値)"},
    {"readings_none", "判定なし (読み値)"},
    {"readings_no_measurement", "未測定 (読み値)"},
}};

std::vector<ExportTable> BuildSchema() {
  std::vector<ExportTable> s;
  ExportTable& columns = s.emplace_back();
  columns.name = "columns";
  columns.columns = {Col("name", ColumnType::Text, "名前"), Col("position", ColumnType::Integer, "位置"),
                     Col("title", ColumnType::Text, "見出し")};
  columns.keyColumns = 1;

  ExportTable& limits = s.emplace_back();
  limits.name = "limits";
  limits.columns = {Col("service_class", ColumnType::Text, "サービス"),
                    Col("service_class_name", ColumnType::Text, "サービス名"),
                    Col("profile", ColumnType::Text, "判定基準"),
                    Col("profile_file", ColumnType::Text, "ファイル"),
                    Col("level_min_dbuv", ColumnType::Real, "レベル 下限 (dBμV)"),
                    Col("level_max_dbuv", ColumnType::Real, "レベル 上限 (dBμV)"),
                    Col("cn_min_db", ColumnType::Real, "C/N 下限 (dB)"),
                    Col("mer_min_db", ColumnType::Real, "MER 下限 (dB)"),
                    Col("ber_max", ColumnType::Real, "BER 上限"),
                    Col("margin_db", ColumnType::Real, "注意幅 (dB)")};
  limits.keyColumns = 1;

  ExportTable& sets = s.emplace_back();
  sets.name = "sets";
  sets.columns = {Col("set_id", ColumnType::Text, "セットID"), Col("set_folder", ColumnType::Text, "セットフォルダ"),
                  Col("data_folder", ColumnType::Text, "データフォルダ")};
  for (const auto& [name, title] : kJobColumns) sets.columns.push_back(Col(std::string(name), ColumnType::Text, std::string(title)));
  sets.columns.push_back(Col("downloaded_at", ColumnType::Text, "転送日時"));
  sets.columns.push_back(Col("date", ColumnType::Text, "日時"));
  sets.columns.push_back(Col("verdict", ColumnType::Text, "総合判定", ColumnRole::Verdict));
  for (const auto& [name, title] : kCountColumns)
    sets.columns.push_back(Col(std::string(name), ColumnType::Integer, std::string(title)));
  sets.keyColumns = 1;

  // A table per kind, named by the kind's key, in the kind table's order (TableId::Level
  // to TableId::Multi); the multi-channel kind's rows go to multi_channels.
  for (const KindInfo& kind : kKinds) {
    if (kind.channelTables) continue;
    s.push_back(KeyedTable(std::string(kind.key), {}));
    AddMeasurementHead(s.back());
    AddRowColumns(s.back().columns);
  }
  s.push_back(KeyedTable(std::string(KindKey(TransferKind::Multi)), {}));
  AddMeasurementHead(s.back());
  s.back().columns.push_back(Col("data_name", ColumnType::Text, "データ名"));
  s.back().columns.push_back(Col("channels", ColumnType::Integer, "チャンネル数"));
  s.back().columns.push_back(Col("verdict", ColumnType::Text, "判定", ColumnRole::Verdict));
  s.back().columns.push_back(Col("verdict_reason", ColumnType::Text, "判定理由"));
  s.push_back(KeyedTable("multi_channels", {Col("channel_row", ColumnType::Integer, "行")}));
  AddMeasurementHead(s.back());
  AddRowColumns(s.back().columns);

  ExportTable& readings = s.emplace_back();
  readings.name = "readings";
  readings.storedAs = "reading_rows";
  readings.refersToSets = true;
  auto fromSets = [](ExportColumn c) {
    c.fromSets = true;
    return c;
  };
  readings.columns = {
      Col("set_id", ColumnType::Text, "セットID"),
      fromSets(Col("set_folder", ColumnType::Text, "セットフォルダ")),
      fromSets(Col("date", ColumnType::Text, "日時")),
      fromSets(Col("customer", ColumnType::Text, "お客様名")),
      fromSets(Col("property", ColumnType::Text, "物件名")),
      Col("kind", ColumnType::Text, "種類"),
      Col("item", ColumnType::Integer, "データNo."),
      Col("channel_row", ColumnType::Integer, "行"),
      Col("field_row", ColumnType::Integer, "欄"),
      Col("data_name", ColumnType::Text, "データ名"),
      Col("label", ColumnType::Text, "ラベル"),
      Col("service_class", ColumnType::Text, "サービス"),
      Col("service_class_name", ColumnType::Text, "サービス名"),
      Col("band", ColumnType::Text, "バンド"),
      Col("channel", ColumnType::Text, "チャンネル"),
      Col("channel_no", ColumnType::Integer, "チャンネル番号"),
      Col("frequency_mhz", ColumnType::Real, "周波数 (MHz)"),
      Col("level_dbuv", ColumnType::Real, "レベル (dBμV)"),
      Col("level_marker", ColumnType::Text, "レベル 記録", ColumnRole::Stored),
      Col("level_verdict", ColumnType::Text, "レベル 判定", ColumnRole::Verdict),
      Col("cn_db", ColumnType::Real, "C/N (dB)"),
      Col("cn_marker", ColumnType::Text, "C/N 記録", ColumnRole::Stored),
      Col("cn_verdict", ColumnType::Text, "C/N 判定", ColumnRole::Verdict),
      Col("mer_db", ColumnType::Real, "MER (dB)"),
      Col("mer_marker", ColumnType::Text, "MER 記録", ColumnRole::Stored),
      Col("mer_verdict", ColumnType::Text, "MER 判定", ColumnRole::Verdict),
      Col("ber", ColumnType::Real, "BER"),
      Col("ber_marker", ColumnType::Text, "BER 記録", ColumnRole::Stored),
      Col("ber_verdict", ColumnType::Text, "BER 判定", ColumnRole::Verdict),
      Col("verdict", ColumnType::Text, "判定", ColumnRole::Verdict),
  };

  s.push_back(KeyedTable("spectrum_samples", {Col("sample", ColumnType::Integer, "サンプル")}, true));
  s.back().columns.push_back(Col("frequency_mhz", ColumnType::Real, "周波数 (MHz)"));
  s.back().columns.push_back(Col("db", ColumnType::Real, "レベル (dB)"));
  s.push_back(KeyedTable("profile_samples", {Col("sample", ColumnType::Integer, "サンプル")}, true));
  s.back().columns.push_back(Col("delay_us", ColumnType::Real, "遅延 (µs)"));
  s.back().columns.push_back(Col("db", ColumnType::Real, "レベル (dB)"));
  s.push_back(KeyedTable("constellation_images", {}));
  s.back().columns.push_back(Col("png", ColumnType::Png, "画像"));
  for (std::size_t t = static_cast<std::size_t>(TableId::SpectrumSamples); t < s.size(); ++t) s[t].graph = true;
  return s;
}

constexpr TableId KindTable(TransferKind kind) {
  switch (kind) {
    case TransferKind::Level: return TableId::Level;
    case TransferKind::Ber: return TableId::Ber;
    case TransferKind::Constellation: return TableId::Constellation;
    case TransferKind::Spectrum: return TableId::Spectrum;
    case TransferKind::Profile: return TableId::Profile;
    case TransferKind::Sky: return TableId::Sky;
    case TransferKind::Multi:
    case TransferKind::None: break;
  }
  return TableId::Multi;
}

// The schema makes the kinds' tables in the kind table's order.
static_assert([] {
  int t = static_cast<int>(TableId::Level);
  for (const KindInfo& kind : kKinds)
    if (!kind.channelTables && KindTable(kind.transfer) != static_cast<TableId>(t++)) return false;
  return KindTable(TransferKind::Multi) == TableId::Multi && t == static_cast<int>(TableId::Multi);
}());

bool IsPlainAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A whole text read as a finite decimal number; nothing for anything else (markers
// included).
std::optional<double> StrictReal(std::string_view t) {
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::int64_t> StrictInteger(std::string_view t) {
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return v;
}

// A channel as a number: only a text of decimal digits is one ("13", not "C13" or "BS-1").
std::optional<std::int64_t> ChannelNumber(std::string_view t) {
  if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return StrictInteger(t);
}

Cell OptionalReal(const std::optional<double>& v) { return v ? Cell::Real(*v) : Cell::Null(); }
Cell OptionalText(std::string_view t) { return t.empty() ? Cell::Null() : Cell::Text(t); }

// What a set folder's rows say of it.
struct SetRow {
  std::string id;
  std::string folder;      // escaped as set_folder holds it
  std::string downloaded;  // the newest file's time
  std::array<std::string, kJobColumns.size()> job;
  std::string date;        // the job's 測定日時, else the download time
  JobRecord record;        // for the measurements' labels
  SetFolderSummary summary;
};

// The job record's fields in the order of kJobColumns.
std::array<std::string, kJobColumns.size()> JobTexts(const JobRecord& r) {
  std::string instrument;
  for (const std::string* part : {&r.instrument.model, &r.instrument.serial, &r.instrument.firmware})
    if (!part->empty()) instrument += (instrument.empty() ? "" : " ") + *part;
  return {r.title, r.customer, r.property, r.address, r.measuredAt, r.weather, r.technician, instrument, r.findings};
}

// Builds the rows of one export and hands them to the sink.
class RowWriter {
 public:
  RowWriter(TableSink& sink, const ExportOptions& options, JobObserver& observer)
      : sink_(sink), options_(options), warnings_(observer) {}

  bool WriteColumnsTable() {
    for (int c = 0; c < kColumnCount; ++c) {
      const Cell row[] = {Cell::Text(kColumnInfo[static_cast<std::size_t>(c)].asciiName), Cell::Int(c),
                          Cell::Text(ColumnTitle(c))};
      if (!sink_.Insert(TableId::Columns, row)) return false;
    }
    return true;
  }

  bool WriteLimitsTable() {
    const LimitsProfile& p = options_.profile;
    const std::string file = p.file().filename().string();
    for (ServiceClass c : kJudgedClasses) {
      const ClassLimits& l = p.Limits(c);
      const Cell row[] = {Cell::Text(ServiceClassKey(c)), Cell::Text(ServiceClassName(c, Language::Japanese)), Cell::Text(p.name()),
                          OptionalText(file),         OptionalReal(l.levelMin),        OptionalReal(l.levelMax),
                          OptionalReal(l.cnMin),      OptionalReal(l.merMin),          OptionalReal(l.berMax),
                          Cell::Real(l.marginDb)};
      if (!sink_.Insert(TableId::Limits, row)) return false;
    }
    return true;
  }

  // Starts a set folder's rows.
  void BeginSet(SetRow& set) { set_ = &set; }

  bool WriteMeasurement(const SelectedMeasurement& m) {
    JudgeMeasurement(m.record, options_.profile, judgement_);
    SetFolderSummary& summary = set_->summary;
    summary.measurements.Add(judgement_.verdict, judgement_.reason);
    summary.readings.Add(judgement_.counts);
    dataName_ = Utf8Of(Trim(m.record.firstRow().Field(Index(Column::DataName))));
    if (m.kind == TransferKind::Multi) return WriteMulti(m) && WriteReadings(m);
    const TableId table = KindTable(m.kind);
    if (!WriteRow(table, m, m.record.row, std::nullopt, judgement_.verdict, judgement_.reason, 0,
                  judgement_.readings.size()))
      return false;
    if (!WriteReadings(m)) return false;
    if (!options_.samples) return true;
    if (!HasCompanions(ToDataKind(m.kind))) return true;
    const std::optional<std::filesystem::path> companion = FindCompanion(m.record);
    if (!companion)
      return Unreadable(CompanionName(m.record.companionBase(), Field(m.record.row, Column::No)));
    switch (m.kind) {
      case TransferKind::Spectrum: return WriteSpectrum(m, *companion);
      case TransferKind::Profile: return WriteProfile(m, *companion);
      case TransferKind::Constellation: return WriteConstellation(m, *companion);
      case TransferKind::Level:
      case TransferKind::Ber:
      case TransferKind::Sky:
      case TransferKind::Multi:
      case TransferKind::None: break;  // no companion files: left above
    }
    return true;
  }

  bool WriteSetRow() {
    const SetRow& s = *set_;
    cells_.clear();
    cells_.push_back(Cell::Text(s.id));
    cells_.push_back(Cell::Text(s.folder));
    cells_.push_back(OptionalText(dataFolder_));
    for (const std::string& field : s.job) cells_.push_back(OptionalText(field));
    cells_.push_back(OptionalText(s.downloaded));
    cells_.push_back(OptionalText(s.date));
    const SetFolderSummary& sum = s.summary;
    cells_.push_back(Cell::Text(VerdictText(sum.measurements.worst(), Language::Japanese)));
    for (int n : {sum.measurements.total(), sum.measurements.pass, sum.measurements.caution, sum.measurements.fail,
                  sum.measurements.none, sum.readings.pass, sum.readings.caution, sum.readings.fail, sum.readings.none,
                  sum.readings.noMeasurement})
      cells_.push_back(Cell::Int(n));
    return sink_.Insert(TableId::Sets, cells_);
  }

  void SetDataFolder(std::string name) { dataFolder_ = std::move(name); }
  void ReportUnreadable() { warnings_.Finish(); }

 private:
  // The companion file of a record, found as CompanionPath finds it (the name as it
  // stands, else regardless of letter case) but through one listing of the kind
  // folder per table: an archive without its companion files costs no search per row.
  std::optional<std::filesystem::path> FindCompanion(const CDataSet& record) {
    if (record.table.get() != indexedTable_) {
      indexedTable_ = record.table.get();
      folder_.emplace(ResolvePath(std::filesystem::path(record.tablePath()).parent_path()));
    }
    const std::string name = CompanionName(std::filesystem::path(record.companionBase()).filename().string(),
                                           Field(record.row, Column::No));
    const std::optional<std::string> found = folder_->Find(name);
    if (!found) return std::nullopt;
    return folder_->folder() / *found;
  }

  void AddKeys(const SelectedMeasurement& m, std::optional<int> channel) {
    cells_.clear();
    cells_.push_back(Cell::Text(set_->id));
    cells_.push_back(Cell::Int(m.record.index));
    if (channel) cells_.push_back(Cell::Int(*channel));
    cells_.push_back(Cell::Text(set_->folder));
    cells_.push_back(OptionalText(set_->record.Label(m.kind, m.record.index)));
  }

  // Key cells, then the 30 columns (numbers with their "_text" cells), the service
  // class, the verdict and the verdicts of readings[first, first + count).
  bool WriteRow(TableId table, const SelectedMeasurement& m, const MeasurementRow& row, std::optional<int> channel,
                Verdict verdict, Reason reason, std::size_t first, std::size_t count) {
    AddKeys(m, channel);
    const std::array<std::string_view, kColumnCount> fields = row.Fields();
    for (int c = 0; c < kColumnCount; ++c) AddField(c, Trim(fields[static_cast<std::size_t>(c)]));
    cells_.push_back(Cell::Text(ServiceClassKey(ClassOfRow(fields))));
    cells_.push_back(Cell::Text(VerdictText(verdict, Language::Japanese)));
    cells_.push_back(Cell::Text(ReasonKey(reason)));
    const std::size_t at = cells_.size();
    cells_.resize(at + 2 * kJudgedColumns.size(), Cell::Null());
    for (std::size_t i = first; i < first + count; ++i) {
      const ReadingResult& r = judgement_.readings[i];
      const int slot = JudgedSlot(r.column);
      if (slot < 0) continue;
      cells_[at + 2 * static_cast<std::size_t>(slot)] = Cell::Text(VerdictText(r.verdict, Language::Japanese));
      cells_[at + 2 * static_cast<std::size_t>(slot) + 1] = Cell::Text(ReasonKey(r.reason));
    }
    return sink_.Insert(table, cells_);
  }

  void AddField(int c, std::string_view text) {
    const ColumnValue stored = kColumnInfo[static_cast<std::size_t>(c)].value;
    if (stored == ColumnValue::Text) {
      cells_.push_back(Cell::Text(Utf8(c, text)));
      return;
    }
    if (stored == ColumnValue::Integer) {
      if (const std::optional<std::int64_t> v = StrictInteger(text)) {
        cells_.push_back(Cell::Int(*v));
        cells_.push_back(Cell::Null());
        return;
      }
    }
    if (const std::optional<double> v = StrictReal(text)) {
      cells_.push_back(Cell::Real(*v));
      cells_.push_back(Cell::Null());
      return;
    }
    // A marker or any other text that is no number: NULL, with the text kept.
    cells_.push_back(Cell::Null());
    cells_.push_back(text.empty() ? Cell::Null() : Cell::Text(Utf8(c, text)));
  }

  // The field as UTF-8: ASCII as it stands, anything else decoded into slot c.
  std::string_view Utf8(int c, std::string_view sjis) {
    if (IsPlainAscii(sjis)) return sjis;
    texts_[static_cast<std::size_t>(c)] = DecodeSjis(sjis);
    return texts_[static_cast<std::size_t>(c)];
  }

  static std::string Utf8Of(std::string_view sjis) { return IsPlainAscii(sjis) ? std::string(sjis) : DecodeSjis(sjis); }

  // The multi-channel data set's row, and a row per channel with its own verdict.
  bool WriteMulti(const SelectedMeasurement& m) {
    AddKeys(m, std::nullopt);
    cells_.push_back(Cell::Text(dataName_));
    cells_.push_back(Cell::Int(static_cast<std::int64_t>(m.record.rows.size())));
    cells_.push_back(Cell::Text(VerdictText(judgement_.verdict, Language::Japanese)));
    cells_.push_back(Cell::Text(ReasonKey(judgement_.reason)));
    if (!sink_.Insert(TableId::Multi, cells_)) return false;
    for (std::size_t i = 0; i < m.record.rows.size(); ++i) {
      const int channelRow = static_cast<int>(i) + 1;
      Verdict verdict = Verdict::None;
      Reason reason = Reason::NoReading;
      std::size_t first = 0, count = 0;
      for (const PartJudgement& part : judgement_.parts)
        if (part.row == channelRow) {
          verdict = part.verdict;
          first = part.first;
          count = part.count;
          reason = PartReason(part);
        }
      if (!WriteRow(TableId::MultiChannels, m, m.record.rows[i], channelRow, verdict, reason, first, count))
        return false;
    }
    return true;
  }

  // The reason of a part's first reading with the part's verdict.
  Reason PartReason(const PartJudgement& part) const {
    for (std::size_t i = part.first; i < part.first + part.count; ++i)
      if (judgement_.readings[i].verdict == part.verdict) return judgement_.readings[i].reason;
    return Reason::NoReading;
  }

  // A row of "readings" per part of the measurement that has a reading.
  bool WriteReadings(const SelectedMeasurement& m) {
    for (const PartJudgement& part : judgement_.parts) {
      if (part.count == 0) continue;
      const MeasurementRow& row =
          part.row > 0 && static_cast<std::size_t>(part.row) <= m.record.rows.size()
              ? m.record.rows[static_cast<std::size_t>(part.row - 1)]
              : m.kind == TransferKind::Multi ? m.record.firstRow() : m.record.row;
      band_ = Utf8Of(part.band);
      channel_ = Utf8Of(part.channel);
      cells_.clear();
      cells_.push_back(Cell::Text(set_->id));
      cells_.push_back(Cell::Text(set_->folder));
      cells_.push_back(OptionalText(set_->date));
      cells_.push_back(OptionalText(set_->job[1]));
      cells_.push_back(OptionalText(set_->job[2]));
      cells_.push_back(Cell::Text(KindKey(m.kind)));
      cells_.push_back(Cell::Int(m.record.index));
      cells_.push_back(part.row > 0 ? Cell::Int(part.row) : Cell::Null());
      cells_.push_back(part.field > 0 ? Cell::Int(part.field) : Cell::Null());
      cells_.push_back(Cell::Text(dataName_));
      cells_.push_back(OptionalText(set_->record.Label(m.kind, m.record.index)));
      cells_.push_back(Cell::Text(ServiceClassKey(part.serviceClass)));
      cells_.push_back(Cell::Text(ServiceClassName(part.serviceClass, Language::Japanese)));
      cells_.push_back(OptionalText(band_));
      cells_.push_back(OptionalText(channel_));
      const std::optional<std::int64_t> number = ChannelNumber(part.channel);
      cells_.push_back(number ? Cell::Int(*number) : Cell::Null());
      // The frequency column belongs to the first field row.
      cells_.push_back(part.field == 2 ? Cell::Null() : OptionalReal(StrictReal(Trim(Field(row, Column::Frequency)))));
      for (Reading reading : {Reading::Level, Reading::Cn, Reading::Mer, Reading::Ber}) {
        const ReadingResult* found = nullptr;
        for (std::size_t i = part.first; i < part.first + part.count; ++i)
          if (judgement_.readings[i].reading == reading) found = &judgement_.readings[i];
        if (!found) {
          cells_.insert(cells_.end(), 3, Cell::Null());
          continue;
        }
        cells_.push_back(found->kind == ValueKind::Number ? Cell::Real(found->value) : Cell::Null());
        const std::string_view words = MarkerWords(found->kind);
        if (!words.empty()) {
          cells_.push_back(Cell::Text(words));
        } else if (found->kind == ValueKind::Unreadable) {
          stored_[static_cast<std::size_t>(reading)] = Utf8Of(found->stored);
          cells_.push_back(OptionalText(stored_[static_cast<std::size_t>(reading)]));
        } else {
          cells_.push_back(Cell::Null());
        }
        cells_.push_back(Cell::Text(VerdictText(found->verdict, Language::Japanese)));
      }
      cells_.push_back(Cell::Text(VerdictText(part.verdict, Language::Japanese)));
      if (!sink_.Insert(TableId::Readings, cells_)) return false;
    }
    return true;
  }

  bool WriteSpectrum(const SelectedMeasurement& m, const std::filesystem::path& file) {
    const std::optional<std::string> payload = ReadSpectrumPayload(file);
    if (!payload) return Unreadable(file);
    const std::vector<std::int16_t> samples = SpectrumSamples(*payload);
    const double centre = ParseReal(Field(m.record.row, Column::Frequency));
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < n; ++i) {
      const std::optional<double> mhz = SpectrumSampleFrequencyMhz(i, n, centre);
      const Cell row[] = {Cell::Text(set_->id), Cell::Int(m.record.index), Cell::Int(i), OptionalReal(mhz),
                          Cell::Real(samples[static_cast<std::size_t>(i)] / 10.0)};
      if (!sink_.Insert(TableId::SpectrumSamples, row)) return false;
    }
    return true;
  }

  bool WriteProfile(const SelectedMeasurement& m, const std::filesystem::path& file) {
    const std::optional<DelayProfile> profile = ReadDelayProfile(file);
    if (!profile) return Unreadable(file);
    const int n = static_cast<int>(profile->samples.size());
    for (int i = 0; i < n; ++i) {
      const double db = (profile->samples[static_cast<std::size_t>(i)] - profile->peakValue) / 10.0;
      const Cell row[] = {Cell::Text(set_->id), Cell::Int(m.record.index), Cell::Int(i),
                          Cell::Real(ProfileSampleDelayUs(i, n)), Cell::Real(db)};
      if (!sink_.Insert(TableId::ProfileSamples, row)) return false;
    }
    return true;
  }

  bool WriteConstellation(const SelectedMeasurement& m, const std::filesystem::path& file) {
    const std::optional<std::string> diagram = ReadConstellationDiagram(file);
    if (!diagram) return Unreadable(file);
    Surface picture(kConstellationWidthPx, kConstellationRows);
    DrawConstellationDiagram(*diagram, picture, 0, kConstellationRows - 1);
    const std::vector<std::uint8_t> png = EncodePngFile(picture.View());
    const Cell row[] = {Cell::Text(set_->id), Cell::Int(m.record.index),
                        Cell::Bytes({reinterpret_cast<const char*>(png.data()), png.size()})};
    return sink_.Insert(TableId::ConstellationImages, row);
  }

  // A missing or malformed companion file leaves the measurement without graph rows.
  bool Unreadable(const std::filesystem::path& file) {
    warnings_.Warn(file);
    return true;
  }

  TableSink& sink_;
  const ExportOptions& options_;
  CompanionWarnings warnings_;
  MeasurementJudgement judgement_;
  SetRow* set_ = nullptr;
  std::string dataFolder_;
  std::vector<Cell> cells_;
  std::string dataName_, band_, channel_;
  std::array<std::string, 4> stored_;
  std::array<std::string, kColumnCount> texts_;
  const DataSetTable* indexedTable_ = nullptr;
  std::optional<DirectoryIndex> folder_;  // the kind folder of indexedTable_
};

// Rows kept compactly to be handed to another sink later (and on another thread):
// each row its table, its width and its cells, texts copied.
class HeldRows final : public TableSink {
 public:
  bool Begin(const std::vector<ExportTable>&, bool) override { return true; }
  bool Insert(TableId table, std::span<const Cell> row) override {
    Put(static_cast<std::uint8_t>(table));
    Put(static_cast<std::uint32_t>(row.size()));
    for (const Cell& c : row) {
      Put(static_cast<std::uint8_t>(c.kind));
      switch (c.kind) {
        case Cell::Kind::Null: break;
        case Cell::Kind::Integer: Put(c.integer); break;
        case Cell::Kind::Real: Put(c.real); break;
        case Cell::Kind::Text:
        case Cell::Kind::Bytes:
          Put(static_cast<std::uint64_t>(c.text.size()));
          bytes_.append(c.text);
          break;
      }
    }
    return true;
  }
  std::string error() const override { return {}; }

  // The rows held so far, leaving this empty.
  HeldRows Take() {
    HeldRows taken;
    taken.bytes_.swap(bytes_);
    bytes_.swap(spare_);
    return taken;
  }
  // Rows taken and done with: their memory is used again (a fresh buffer for each set
  // folder would cost a page fault per page written).
  void GiveBack(HeldRows&& done) {
    spare_.swap(done.bytes_);
    spare_.clear();
  }

  // Every row into sink, in the order held; false when the sink refuses one or abort
  // is set (looked at every few hundred rows).
  bool Replay(TableSink& sink, const std::atomic<bool>& abort) const {
    std::vector<Cell> row;
    std::size_t at = 0;
    for (int n = 1; at < bytes_.size(); ++n) {
      const auto table = static_cast<TableId>(Get<std::uint8_t>(at));
      row.resize(Get<std::uint32_t>(at));
      for (Cell& c : row) {
        c = Cell{};
        c.kind = static_cast<Cell::Kind>(Get<std::uint8_t>(at));
        switch (c.kind) {
          case Cell::Kind::Null: break;
          case Cell::Kind::Integer: c.integer = Get<std::int64_t>(at); break;
          case Cell::Kind::Real: c.real = Get<double>(at); break;
          case Cell::Kind::Text:
          case Cell::Kind::Bytes: {
            const auto size = static_cast<std::size_t>(Get<std::uint64_t>(at));
            c.text = std::string_view(bytes_).substr(at, size);
            at += size;
          }
        }
      }
      if (!sink.Insert(table, row)) return false;
      if (n % 256 == 0 && abort.load(std::memory_order_relaxed)) return false;
    }
    return true;
  }

 private:
  template <typename T>
  void Put(T value) {
    bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  template <typename T>
  T Get(std::size_t& at) const {
    T value;
    std::memcpy(&value, bytes_.data() + at, sizeof value);
    at += sizeof value;
    return value;
  }
  std::string bytes_;
  std::string spare_;
};

// Warnings kept to be said later, on the thread of the job's owner, in their order.
class HeldWarnings final : public JobObserver {
 public:
  void Progress(int, int) override {}
  void Warning(const std::string& message) override { held_.push_back({std::nullopt, message}); }
  void Warn(const JobWarning& warning) override { held_.push_back({warning, {}}); }

  HeldWarnings Take() {
    HeldWarnings taken;
    taken.held_.swap(held_);
    return taken;
  }
  void Replay(JobObserver& observer) const {
    for (const Held& h : held_) {
      if (h.warning) observer.Warn(*h.warning);
      else observer.Warning(h.message);
    }
  }

 private:
  struct Held {
    std::optional<JobWarning> warning;
    std::string message;
  };
  std::vector<Held> held_;
};

}  // namespace

const std::vector<ExportTable>& ExportSchema() {
  static const std::vector<ExportTable> schema = BuildSchema();
  return schema;
}

std::string_view MarkerWords(ValueKind kind) {
  switch (kind) {
    case ValueKind::BelowRange: return filetext::kExportMarkerBelow;
    case ValueKind::AboveRange: return filetext::kExportMarkerAbove;
    case ValueKind::NoMeasurement: return filetext::kExportMarkerNone;
    case ValueKind::Number:
    case ValueKind::Unreadable: return {};
  }
  return {};
}

JobOutcome WriteExportRows(const MeasurementSource& source, TableSink& sink, const ExportOptions& options,
                           JobObserver& observer, const std::atomic<bool>& abort) {
  if (!sink.Begin(ExportSchema(), options.samples)) return JobOutcome::Failed(sink.error());
  // The rows are made on a thread of this job and handed over set folder by set folder:
  // while this thread stores one set folder's rows, the next one is read, judged and
  // turned into rows. At most two set folders are held; the thread is joined before
  // this function returns, whatever way it does (the future's destructor waits).
  HeldRows held;
  HeldWarnings heldWarnings;
  RowWriter writer(held, options, heldWarnings);
  writer.SetDataFolder(EscapedName(SetFolderName(source.DataFolderPath())));
  writer.WriteColumnsTable();
  writer.WriteLimitsTable();
  if (!held.Take().Replay(sink, abort)) return JobOutcome::Failed(sink.error());
  const std::vector<SourceFolder> folders = source.Folders();
  int total = 0;
  for (const SourceFolder& f : folders) total += f.total();
  std::unordered_set<std::string> ids;
  // What the thread made of a set folder (its rows and warnings are in held and
  // heldWarnings until taken).
  struct Made {
    int measurements = 0;
    bool cancelled = false;
    std::string error;  // the set folder could not be read
  };
  auto make = [&](const SourceFolder& folder) {
    Made made;
    const std::filesystem::path setPath = source.DataFolderPath() / folder.name;
    const std::optional<SetDigest> digest = DigestSetFolder(setPath, made.error);
    if (!digest) return made;
    JobRecordRead job = ReadJobRecord(setPath);
    const std::optional<FolderMeasurements> loaded = source.Measurements(folder, made.error);
    if (!loaded) return made;
    SetRow set;
    set.id = digest->id;
    // The same files under two names of one data folder (names that differ only in
    // letter case): the second one's id is its own.
    for (int n = 2; !ids.insert(set.id).second; ++n) set.id = digest->id + "-" + std::to_string(n);
    set.folder = EscapedName(folder.name);
    if (digest->files > 0) set.downloaded = LocalTimeText(digest->newest);
    // A job record that cannot be read is said and passed over, never fatal.
    if (job.error) heldWarnings.Warning(FillIn(Text(StringId::RecordIgnored), {job.error.Text()}));
    set.record = std::move(job.record);
    set.job = JobTexts(set.record);
    set.date = !set.job[4].empty() ? set.job[4] : set.downloaded;
    set.summary.name = folder.name;
    writer.BeginSet(set);
    for (const SelectedMeasurement& m : loaded->measurements) {
      if (abort.load(std::memory_order_relaxed)) {
        made.cancelled = true;
        return made;
      }
      writer.WriteMeasurement(m);
      ++made.measurements;
    }
    writer.WriteSetRow();
    return made;
  };
  std::future<Made> next;
  if (!folders.empty()) next = std::async(std::launch::async, make, std::cref(folders.front()));
  int done = 0;
  HeldRows rows;
  for (std::size_t f = 0; f < folders.size(); ++f) {
    const Made made = next.get();
    held.GiveBack(std::move(rows));  // the thread is idle until it is started again
    rows = held.Take();
    const HeldWarnings warnings = heldWarnings.Take();
    if (abort.load(std::memory_order_relaxed) || made.cancelled) return JobOutcome::Cancelled();
    if (!made.error.empty()) return JobOutcome::Failed(made.error);
    if (f + 1 < folders.size()) next = std::async(std::launch::async, make, std::cref(folders[f + 1]));
    warnings.Replay(observer);
    if (!rows.Replay(sink, abort))
      return abort.load(std::memory_order_relaxed) ? JobOutcome::Cancelled() : JobOutcome::Failed(sink.error());
    const int before = done;
    done += made.measurements;
    if (done / kProgressEvery != before / kProgressEvery) observer.Progress(done, total);
  }
  writer.ReportUnreadable();
  heldWarnings.Take().Replay(observer);
  observer.Progress(total, total);
  return {};
}

}  // namespace rxt4
