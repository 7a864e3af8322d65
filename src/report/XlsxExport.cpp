// The Excel workbook, written with libxlsxwriter row by row (its constant-memory mode:
// each sheet's rows go to a temporary file of the library as they come):
//   概要       the data folder, the profile, the overall verdict and the counts, then
//              a row per set folder (its job record, download time, verdict, counts)
//   判定       every judged reading ("readings"), markers in words, verdicts
//   a sheet per kind (multi-channel: a row per channel), then 判定基準 (the limits).
// Codes (set folder, record number, channel) are text cells, so their zeros stay;
// numbers are number cells with their unit in the header; a number column shows, where
// the instrument stored a marker, that text in its place. Each sheet's header row is
// frozen and filtered; verdicts are words on a fill of their own.

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rxt4/data/FileTexts.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/Verdict.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/ExportTables.h"

namespace rxt4 {

namespace {

// The sheet of each table, by TableId (none: the table is not shown).
constexpr std::array<std::optional<std::string_view>, kExportTableCount> kSheetOf = {
    std::nullopt,                     // columns
    filetext::kExportSheetLimits,      // limits
    std::nullopt,                     // sets: on the summary sheet
    filetext::kExportSheetLevel,       // level
    filetext::kExportSheetBer,         // ber
    filetext::kExportSheetConstellation,
    filetext::kExportSheetSpectrum,
    filetext::kExportSheetProfile,
    filetext::kExportSheetSky,
    std::nullopt,                     // multi: its channels have the sheet
    filetext::kExportSheetMulti,       // multi_channels
    filetext::kExportSheetReadings,    // readings
    std::nullopt, std::nullopt, std::nullopt,  // graph data
};

// The order the sheets stand in after 概要.
constexpr std::array<TableId, 9> kSheetOrder = {TableId::Readings,      TableId::Level,    TableId::Ber,
                                                TableId::Sky,           TableId::Constellation, TableId::MultiChannels,
                                                TableId::Spectrum,      TableId::Profile,  TableId::Limits};

// Display width of a UTF-8 text in a sheet's columns: wide characters count two.
double TextWidth(std::string_view s) {
  double w = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) w += 1;
    else if (c >= 0xE0) w += 2;  // the lead byte of a three- or four-byte character
  }
  return w;
}

double ColumnWidth(const ExportColumn& c) {
  double typical = c.type == ColumnType::Text ? 10 : c.type == ColumnType::Real ? 10 : 7;
  if (c.name == "data_name" || c.name == "label" || c.name == "customer" || c.name == "property" ||
      c.name == "address" || c.name == "title" || c.name == "findings" || c.name == "service_class_name")
    typical = 20;
  if (c.name.ends_with("_at") || c.name == "date") typical = 19;
  if (c.name == "set_id") typical = 17;
  return std::clamp(std::max(typical, TextWidth(c.title) + 3), 6.0, 40.0);
}

class XlsxSink : public TableSink {
 public:
  XlsxSink(lxw_workbook* book, lxw_row_t sheetRows) : book_(book), sheetRows_(std::clamp<lxw_row_t>(sheetRows, 2, LXW_ROW_MAX)) {}
  ~XlsxSink() override {
    if (book_) lxw_workbook_free(book_);
  }

  bool Begin(const std::vector<ExportTable>& schema, bool) override {
    schema_ = &schema;
    header_ = workbook_add_format(book_);
    format_set_bold(header_);
    format_set_bottom(header_, LXW_BORDER_THIN);
    format_set_text_wrap(header_);
    format_set_align(header_, LXW_ALIGN_VERTICAL_TOP);
    text_ = workbook_add_format(book_);
    format_set_num_format(text_, "@");
    ber_ = workbook_add_format(book_);
    format_set_num_format(ber_, "0.0E+00");
    constexpr std::array<std::uint32_t, 4> kFill = {0xEDEDED, 0xC6EFCE, 0xFFEB9C, 0xFFC7CE};  // none, pass, caution, fail
    for (std::size_t v = 0; v < kFill.size(); ++v) {
      verdicts_[v] = workbook_add_format(book_);
      format_set_num_format(verdicts_[v], "@");
      format_set_pattern(verdicts_[v], LXW_PATTERN_SOLID);
      format_set_bg_color(verdicts_[v], kFill[v]);
      verdictWords_[v] = std::string(VerdictText(static_cast<Verdict>(v), Language::Japanese));
    }
    summary_ = workbook_add_worksheet(book_, std::string(filetext::kExportSheetSummary).c_str());
    sheets_.resize(schema.size());
    for (TableId id : kSheetOrder) {
      Sheet& sheet = sheets_[static_cast<std::size_t>(id)];
      sheet.table = &schema[static_cast<std::size_t>(id)];
      sheet.name = std::string(*kSheetOf[static_cast<std::size_t>(id)]);
      for (std::size_t c = 0; c < sheet.table->columns.size(); ++c) {
        const ExportColumn& col = sheet.table->columns[c];
        // A stored text shows in the number column before it.
        if (col.role == ColumnRole::Stored && c > 0) {
          sheet.place.push_back(sheet.place.back());
          continue;
        }
        sheet.place.push_back(static_cast<lxw_col_t>(sheet.shown.size()));
        sheet.shown.push_back(c);
      }
      if (!StartSheet(sheet)) return false;
    }
    const ExportTable& sets = schema[static_cast<std::size_t>(TableId::Sets)];
    for (std::size_t c = 0; c < sets.columns.size(); ++c) setsColumn_[sets.columns[c].name] = c;
    return true;
  }

  bool Insert(TableId id, std::span<const Cell> row) override {
    const ExportTable& table = (*schema_)[static_cast<std::size_t>(id)];
    if (row.size() != table.columns.size()) {
      error_ = "table " + table.name + ": a row of " + std::to_string(row.size()) + " cells for " +
               std::to_string(table.columns.size()) + " columns";
      return false;
    }
    if (id == TableId::Sets) return KeepSet(table, row);
    Sheet& sheet = sheets_[static_cast<std::size_t>(id)];
    if (!sheet.sheet) return true;
    if (sheet.row == sheetRows_) {
      Filter(sheet);
      if (!StartSheet(sheet)) return false;
    }
    for (std::size_t c = 0; c < row.size(); ++c) {
      const ExportColumn& col = table.columns[c];
      const Cell& cell = row[c];
      if (cell.kind == Cell::Kind::Null) continue;
      // A stored text goes into its number column only where that holds no number.
      if (col.role == ColumnRole::Stored && c > 0 && row[c - 1].kind != Cell::Kind::Null) continue;
      if (!Write(sheet.sheet, sheet.row, sheet.place[c], col, cell)) return false;
    }
    ++sheet.row;
    return true;
  }

  std::string error() const override { return error_; }

  // Writes the summary sheet and the filters, then the file; false (with a message)
  // when the library cannot write it.
  bool Close(const std::string& dataFolder, const LimitsProfile& profile) {
    if (!WriteSummary(dataFolder, profile)) return false;
    for (Sheet& sheet : sheets_) Filter(sheet);
    lxw_workbook* book = book_;
    book_ = nullptr;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) return Fail(lxw_strerror(closed));
    return true;
  }

 private:
  struct Sheet {
    const ExportTable* table = nullptr;
    std::string name;
    lxw_worksheet* sheet = nullptr;
    int part = 0;                    // continuation sheets beyond a sheet's last row
    lxw_row_t row = 0;               // the next row to write
    std::vector<std::size_t> shown;  // the table columns with a sheet column of their own
    std::vector<lxw_col_t> place;    // per table column: its sheet column
  };

  // The filter over the header and the rows of the sheet's last part.
  static void Filter(const Sheet& s) {
    if (s.sheet)
      worksheet_autofilter(s.sheet, 0, 0, std::max<lxw_row_t>(s.row, 1) - 1, static_cast<lxw_col_t>(s.shown.size() - 1));
  }

  // A sheet of the table (another one, "NAME (2)", when the last is full): its header
  // row, frozen, and its column widths.
  bool StartSheet(Sheet& s) {
    const std::string name = ++s.part == 1 ? s.name : s.name + " (" + std::to_string(s.part) + ")";
    s.sheet = workbook_add_worksheet(book_, name.c_str());
    if (!s.sheet) return Fail("cannot add the sheet " + name);
    for (std::size_t i = 0; i < s.shown.size(); ++i) {
      const ExportColumn& col = s.table->columns[s.shown[i]];
      const auto at = static_cast<lxw_col_t>(i);
      worksheet_set_column(s.sheet, at, at, ColumnWidth(col), nullptr);
      worksheet_write_string(s.sheet, 0, at, col.title.c_str(), header_);
    }
    worksheet_freeze_panes(s.sheet, 1, 0);
    s.row = 1;
    return true;
  }

  bool Write(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const ExportColumn& column, const Cell& cell) {
    lxw_error e = LXW_NO_ERROR;
    switch (cell.kind) {
      case Cell::Kind::Null: return true;
      case Cell::Kind::Integer:
        e = worksheet_write_number(sheet, row, col, static_cast<double>(cell.integer), nullptr);
        break;
      case Cell::Kind::Real:
        e = worksheet_write_number(sheet, row, col, cell.real, column.name.starts_with("ber") ? ber_ : nullptr);
        break;
      case Cell::Kind::Text:
      case Cell::Kind::Bytes:
        scratch_.assign(cell.text);
        e = worksheet_write_string(sheet, row, col, scratch_.c_str(), FormatOf(column, cell.text));
        break;
    }
    return e == LXW_NO_ERROR || Fail(lxw_strerror(e));
  }

  lxw_format* FormatOf(const ExportColumn& column, std::string_view text) const {
    if (column.role == ColumnRole::Verdict)
      for (std::size_t v = 0; v < verdictWords_.size(); ++v)
        if (text == verdictWords_[v]) return verdicts_[v];
    return text_;
  }

  // A set folder's row waits for the summary sheet, which is written last but stands first.
  bool KeepSet(const ExportTable& table, std::span<const Cell> row) {
    std::vector<KeptCell>& kept = sets_.emplace_back();
    for (const Cell& c : row) kept.push_back({c.kind, c.integer, c.real, std::string(c.text)});
    auto count = [&](const char* name) { return static_cast<int>(row[setsColumn_.at(name)].integer); };
    VerdictCounts m, r;
    m.pass = count("measurements_pass"), m.caution = count("measurements_caution");
    m.fail = count("measurements_fail"), m.none = count("measurements_none");
    r.pass = count("readings_pass"), r.caution = count("readings_caution"), r.fail = count("readings_fail");
    r.none = count("readings_none"), r.noMeasurement = count("readings_no_measurement");
    measurements_.Add(m);
    readings_.Add(r);
    (void)table;
    return true;
  }

  bool WriteSummary(const std::string& dataFolder, const LimitsProfile& profile) {
    lxw_worksheet* s = summary_;
    const ExportTable& sets = (*schema_)[static_cast<std::size_t>(TableId::Sets)];
    const ExportColumn label{"", ColumnType::Text, "", ColumnRole::Plain, false};
    const ExportColumn verdict{"", ColumnType::Text, "", ColumnRole::Verdict, false};
    auto text = [&](lxw_row_t r, lxw_col_t c, std::string_view t, const ExportColumn& as) {
      return Write(s, r, c, as, Cell::Text(t));
    };
    worksheet_set_column(s, 0, 0, 16, nullptr);
    for (std::size_t c = 1; c < sets.columns.size(); ++c)
      worksheet_set_column(s, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), ColumnWidth(sets.columns[c]),
                           nullptr);
    bool ok = text(0, 0, filetext::kExportSummaryDataFolder, label) && text(0, 1, dataFolder, label) &&
              text(1, 0, filetext::kExportSummaryProfile, label) && text(1, 1, profile.name(), label) &&
              text(2, 0, filetext::kExportSummaryOverall, label) &&
              text(2, 1, VerdictText(measurements_.worst(), Language::Japanese), verdict);
    // The counts: a column per verdict, a row for the measurements and one for the readings.
    const std::string_view heads[] = {VerdictText(Verdict::Pass, Language::Japanese), VerdictText(Verdict::Caution, Language::Japanese),
                                      VerdictText(Verdict::Fail, Language::Japanese), VerdictText(Verdict::None, Language::Japanese),
                                      filetext::kExportMarkerNone};
    for (std::size_t i = 0; ok && i < std::size(heads); ++i)
      ok = worksheet_write_string(s, 4, static_cast<lxw_col_t>(i + 1), std::string(heads[i]).c_str(), header_) ==
           LXW_NO_ERROR;
    const std::pair<std::string_view, const VerdictCounts*> counts[] = {{filetext::kExportSummaryMeasurements, &measurements_},
                                                                {filetext::kExportSummaryReadings, &readings_}};
    lxw_row_t r = 5;
    for (const auto& [name, c] : counts) {
      ok = ok && text(r, 0, name, label);
      const int values[] = {c->pass, c->caution, c->fail, c->none, c->noMeasurement};
      for (std::size_t i = 0; ok && i < std::size(values); ++i)
        if (c != &measurements_ || i + 1 < std::size(values))
          ok = Write(s, r, static_cast<lxw_col_t>(i + 1), label, Cell::Int(values[i]));
      ++r;
    }
    // The set folders, a row each under a frozen, filtered header.
    const lxw_row_t head = r + 1;
    for (std::size_t c = 0; ok && c < sets.columns.size(); ++c)
      ok = worksheet_write_string(s, head, static_cast<lxw_col_t>(c), sets.columns[c].title.c_str(), header_) ==
           LXW_NO_ERROR;
    lxw_row_t at = head + 1;
    for (const std::vector<KeptCell>& row : sets_) {
      for (std::size_t c = 0; ok && c < row.size(); ++c) {
        const KeptCell& k = row[c];
        ok = Write(s, at, static_cast<lxw_col_t>(c), sets.columns[c], Cell{k.kind, k.integer, k.real, k.text});
      }
      ++at;
    }
    if (!ok) return false;
    worksheet_freeze_panes(s, head + 1, 0);
    worksheet_autofilter(s, head, 0, at - 1, static_cast<lxw_col_t>(sets.columns.size() - 1));
    return true;
  }

  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }

  struct KeptCell {
    Cell::Kind kind;
    std::int64_t integer;
    double real;
    std::string text;
  };

  lxw_workbook* book_;
  lxw_row_t sheetRows_;  // rows of a sheet, its header included
  const std::vector<ExportTable>* schema_ = nullptr;
  lxw_worksheet* summary_ = nullptr;
  lxw_format *header_ = nullptr, *text_ = nullptr, *ber_ = nullptr;
  std::array<lxw_format*, 4> verdicts_{};  // by Verdict
  std::array<std::string, 4> verdictWords_;
  std::vector<Sheet> sheets_;  // by TableId
  std::map<std::string, std::size_t> setsColumn_;
  std::vector<std::vector<KeptCell>> sets_;
  VerdictCounts measurements_, readings_;
  std::string scratch_;
  std::string error_;
};

JobOutcome Fail(const std::filesystem::path& file, const std::string& why) {
  return JobOutcome::Failed(FillIn(Text(StringId::FileWriteFailed), {file.string(), why}));
}

}  // namespace

JobOutcome ExportXlsx(const MeasurementSource& selection, const std::filesystem::path& file,
                      const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  // The library writes the staged file by its name when the workbook is closed.
  StagedFile staged(file, StagedFile::Mode::PathOnly);
  if (!staged.ok()) return Fail(file, ReasonText(staged.error()));
  lxw_workbook_options settings{};
  settings.constant_memory = LXW_TRUE;
  const std::string temp = staged.tempPath().string();
  lxw_workbook* book = workbook_new_opt(temp.c_str(), &settings);
  if (!book) return Fail(file, "the workbook could not be made");
  XlsxSink sink(book, options.workbookSheetRows);
  ExportOptions shown = options;
  shown.samples = false;  // a sheet holds about a million rows: graph samples never fit
  JobOutcome outcome = WriteExportRows(selection, sink, shown, observer, abort);
  if (outcome.status == JobOutcome::Status::Failed) return Fail(file, outcome.message);
  if (!outcome.done()) return outcome;
  if (!sink.Close(SetFolderName(selection.DataFolderPath()), options.profile)) return Fail(file, sink.error());
  if (!staged.Commit()) return Fail(file, ReasonText(staged.error()));
  return outcome;
}

}  // namespace rxt4
