#include "rxt4/report/ExportTables.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/report/CompanionWarnings.h"
#include "rxt4/screens/CompanionData.h"
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/Surface.h"

namespace rxt4 {

namespace {

enum class Stored { Text, Integer, Real };

struct ColumnDef {
  const char* name;
  Stored stored;
};

// The 30 table columns under stable ASCII names. Numbers are stored as numbers; the
// rest (names, channels, on/off switches, modes) as texts.
constexpr ColumnDef kColumns[MeasurementRow::kColumnCount] = {
    {"record_no", Stored::Text},           // 0
    {"data_name", Stored::Text},           // 1
    {"band_name", Stored::Text},           // 2
    {"channel", Stored::Text},             // 3
    {"polarization", Stored::Text},        // 4
    {"frequency_mhz", Stored::Real},       // 5
    {"level_dbuv", Stored::Real},          // 6
    {"cn_db", Stored::Real},               // 7
    {"modulation", Stored::Text},          // 8
    {"lo_frequency_ghz", Stored::Real},    // 9
    {"correction", Stored::Real},          // 10
    {"booster_power", Stored::Text},       // 11
    {"converter_power", Stored::Text},     // 12
    {"layer", Stored::Text},               // 13
    {"band_no", Stored::Integer},          // 14
    {"display_width", Stored::Integer},    // 15
    {"scale_width", Stored::Integer},      // 16
    {"mode", Stored::Text},                // 17
    {"cursor_position", Stored::Integer},  // 18
    {"channel_count", Stored::Integer},    // 19
    {"screen_type", Stored::Integer},      // 20
    {"ber", Stored::Real},                 // 21
    {"mer_db", Stored::Real},              // 22
    {"band_name2", Stored::Text},          // 23
    {"channel2", Stored::Text},            // 24
    {"polarization2", Stored::Text},       // 25
    {"level2_dbuv", Stored::Real},         // 26
    {"ber2", Stored::Real},                // 27
    {"cn2_db", Stored::Real},              // 28
    {"correction2", Stored::Real},         // 29
};

// Progress is reported every this many measurements (and at the end).
constexpr int kProgressEvery = 256;

ColumnType TypeOf(Stored s) {
  return s == Stored::Text ? ColumnType::Text : s == Stored::Integer ? ColumnType::Integer : ColumnType::Real;
}

void AddRowColumns(std::vector<ExportColumn>& columns) {
  for (const ColumnDef& c : kColumns) {
    columns.push_back({c.name, TypeOf(c.stored)});
    if (c.stored != Stored::Text) columns.push_back({std::string(c.name) + "_text", ColumnType::Text});
  }
}

ExportTable KeyedTable(std::string name, std::vector<ExportColumn> extraKeys, bool smallRows = false) {
  ExportTable t{std::move(name), {{"set_folder", ColumnType::Text}, {"item", ColumnType::Integer}}, 2, smallRows};
  for (ExportColumn& c : extraKeys) t.columns.push_back(std::move(c));
  t.keyColumns = static_cast<int>(t.columns.size());
  return t;
}

std::vector<ExportTable> BuildSchema() {
  std::vector<ExportTable> s;
  s.push_back(
      {"columns", {{"name", ColumnType::Text}, {"position", ColumnType::Integer}, {"title", ColumnType::Text}}, 1});
  for (const char* kind : {"level", "ber", "constellation", "spectrum", "profile", "sky"}) {
    s.push_back(KeyedTable(kind, {}));
    AddRowColumns(s.back().columns);
  }
  s.push_back(KeyedTable("multi", {}));
  s.back().columns.push_back({"data_name", ColumnType::Text});
  s.back().columns.push_back({"channels", ColumnType::Integer});
  s.push_back(KeyedTable("multi_channels", {{"channel_row", ColumnType::Integer}}));
  AddRowColumns(s.back().columns);
  s.push_back(KeyedTable("spectrum_samples", {{"sample", ColumnType::Integer}}, true));
  s.back().columns.push_back({"db", ColumnType::Real});
  s.push_back(KeyedTable("profile_samples", {{"sample", ColumnType::Integer}}, true));
  s.back().columns.push_back({"delay_us", ColumnType::Real});
  s.back().columns.push_back({"db", ColumnType::Real});
  s.push_back(KeyedTable("constellation_images", {}));
  s.back().columns.push_back({"png", ColumnType::Png});
  return s;
}

TableId KindTable(TransferKind kind) {
  switch (kind) {
    case TransferKind::Level: return TableId::Level;
    case TransferKind::Ber: return TableId::Ber;
    case TransferKind::Constellation: return TableId::Constellation;
    case TransferKind::Spectrum: return TableId::Spectrum;
    case TransferKind::Profile: return TableId::Profile;
    case TransferKind::Sky: return TableId::Sky;
    default: return TableId::Multi;
  }
}

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

// Builds the rows of one export and hands them to the sink.
class RowWriter {
 public:
  RowWriter(TableSink& sink, JobObserver& observer) : sink_(sink), warnings_(observer) {}

  bool WriteColumnsTable() {
    for (int c = 0; c < MeasurementRow::kColumnCount; ++c) {
      const Cell row[] = {Cell::Text(kColumns[c].name), Cell::Int(c), Cell::Text(ColumnTitle(c))};
      if (!sink_.Insert(TableId::Columns, row)) return false;
    }
    return true;
  }

  bool WriteMeasurement(const SelectedMeasurement& m) {
    // The set folder's name as the file system holds it, made valid text that still
    // tells every name apart.
    if (m.setFolder != folderName_) {
      folderName_ = m.setFolder;
      folderText_ = EscapedName(m.setFolder);
    }
    if (m.kind == TransferKind::Multi) return WriteMulti(m);
    const TableId table = KindTable(m.kind);
    if (!WriteRow(table, m, m.record.row, std::nullopt)) return false;
    const std::optional<std::filesystem::path> companion = FindCompanion(m.record);
    if (!companion &&
        (m.kind == TransferKind::Spectrum || m.kind == TransferKind::Profile || m.kind == TransferKind::Constellation))
      return Unreadable(std::filesystem::path(m.record.companionBase() + std::string(CompanionSuffix(m.record))));
    switch (m.kind) {
      case TransferKind::Spectrum: return WriteSpectrum(m, *companion);
      case TransferKind::Profile: return WriteProfile(m, *companion);
      case TransferKind::Constellation: return WriteConstellation(m, *companion);
      default: return true;
    }
  }

  void ReportUnreadable() { warnings_.Finish(); }

 private:
  // The rightmost three characters of column 0 name the row's companion file.
  static std::string_view CompanionSuffix(const CDataSet& record) {
    const std::string_view no = record.row.Field(0);
    return no.size() > 3 ? no.substr(no.size() - 3) : no;
  }

  // The companion file of a record, found as CompanionPath finds it (the name as it
  // stands, else regardless of letter case) but through one listing of the kind
  // folder per table: an archive without its companion files costs no search per row.
  std::optional<std::filesystem::path> FindCompanion(const CDataSet& record) {
    if (record.table.get() != indexedTable_) {
      indexedTable_ = record.table.get();
      folder_.emplace(ResolvePath(std::filesystem::path(record.tablePath()).parent_path()));
    }
    const std::string name =
        std::filesystem::path(record.companionBase()).filename().string() + std::string(CompanionSuffix(record));
    const std::optional<std::string> found = folder_->Find(name);
    if (!found) return std::nullopt;
    return folder_->folder() / *found;
  }

  // Key cells, then the 30 columns (numbers with their "_text" cells).
  bool WriteRow(TableId table, const SelectedMeasurement& m, const MeasurementRow& row, std::optional<int> channel) {
    cells_.clear();
    cells_.push_back(Cell::Text(folderText_));
    cells_.push_back(Cell::Int(m.record.index));
    if (channel) cells_.push_back(Cell::Int(*channel));
    const std::array<std::string_view, MeasurementRow::kColumnCount> fields = row.Fields();
    for (int c = 0; c < MeasurementRow::kColumnCount; ++c) AddField(c, Trim(fields[static_cast<std::size_t>(c)]));
    return sink_.Insert(table, cells_);
  }

  void AddField(int c, std::string_view text) {
    const Stored stored = kColumns[c].stored;
    if (stored == Stored::Text) {
      cells_.push_back(Cell::Text(Utf8(c, text)));
      return;
    }
    if (stored == Stored::Integer) {
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

  bool WriteMulti(const SelectedMeasurement& m) {
    const std::string name = DecodeSjis(Trim(m.record.firstRow().Field(1)));
    const Cell head[] = {Cell::Text(folderText_), Cell::Int(m.record.index), Cell::Text(name),
                         Cell::Int(static_cast<std::int64_t>(m.record.rows.size()))};
    if (!sink_.Insert(TableId::Multi, head)) return false;
    for (std::size_t i = 0; i < m.record.rows.size(); ++i)
      if (!WriteRow(TableId::MultiChannels, m, m.record.rows[i], static_cast<int>(i) + 1)) return false;
    return true;
  }

  bool WriteSpectrum(const SelectedMeasurement& m, const std::filesystem::path& file) {
    const std::optional<std::string> payload = ReadSpectrumPayload(file);
    if (!payload) return Unreadable(file);
    const std::vector<std::int16_t> samples = SpectrumSamples(*payload);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const Cell row[] = {Cell::Text(folderText_), Cell::Int(m.record.index), Cell::Int(static_cast<std::int64_t>(i)),
                          Cell::Real(samples[i] / 10.0)};
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
      const Cell row[] = {Cell::Text(folderText_), Cell::Int(m.record.index), Cell::Int(i),
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
    const Cell row[] = {Cell::Text(folderText_), Cell::Int(m.record.index),
                        Cell::Bytes({reinterpret_cast<const char*>(png.data()), png.size()})};
    return sink_.Insert(TableId::ConstellationImages, row);
  }

  // A missing or malformed companion file leaves the measurement without graph rows.
  bool Unreadable(const std::filesystem::path& file) {
    warnings_.Warn(file);
    return true;
  }

  TableSink& sink_;
  CompanionWarnings warnings_;
  std::vector<Cell> cells_;
  std::string folderName_, folderText_;
  std::array<std::string, MeasurementRow::kColumnCount> texts_;
  const DataSetTable* indexedTable_ = nullptr;
  std::optional<DirectoryIndex> folder_;  // the kind folder of indexedTable_
};

}  // namespace

const std::vector<ExportTable>& ExportSchema() {
  static const std::vector<ExportTable> schema = BuildSchema();
  return schema;
}

std::string_view ExportColumnName(int column) {
  return column >= 0 && column < MeasurementRow::kColumnCount ? kColumns[column].name : std::string_view{};
}

bool IsNumericColumn(int column) {
  return column >= 0 && column < MeasurementRow::kColumnCount && kColumns[column].stored != Stored::Text;
}

JobOutcome WriteExportRows(const MeasurementSource& source, TableSink& sink, JobObserver& observer,
                           const std::atomic<bool>& abort) {
  if (!sink.Begin(ExportSchema())) return JobOutcome::Failed(sink.error());
  RowWriter writer(sink, observer);
  if (!writer.WriteColumnsTable()) return JobOutcome::Failed(sink.error());
  const std::vector<SourceFolder> folders = source.Folders();
  int total = 0;
  for (const SourceFolder& f : folders) total += f.total();
  int done = 0;
  // One set folder at a time: only its measurements are held.
  for (const SourceFolder& folder : folders) {
    if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
    std::string error;
    const std::optional<FolderMeasurements> loaded = source.Measurements(folder, error);
    if (!loaded) return JobOutcome::Failed(error);
    for (const SelectedMeasurement& m : loaded->measurements) {
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (!writer.WriteMeasurement(m)) return JobOutcome::Failed(sink.error());
      if (++done % kProgressEvery == 0) observer.Progress(done, total);
    }
  }
  writer.ReportUnreadable();
  observer.Progress(total, total);
  return {};
}

}  // namespace rxt4
