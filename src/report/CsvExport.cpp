// The CSV export: one UTF-8 file per table with a byte-order mark (so that a
// spreadsheet reads the Japanese texts right), a header row and CRLF line ends; with
// the samples, the constellation images as PNG files beside them.

#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

#include "rxt4/data/Strings.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/ExportTables.h"

namespace rxt4 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void AppendQuoted(std::string& line, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

template <typename T>
void AppendNumber(std::string& line, T value) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec == std::errc()) line.append(buffer, end);
}

class CsvSink : public TableSink {
 public:
  explicit CsvSink(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool Begin(const std::vector<ExportTable>& schema, bool samples) override {
    schema_ = &schema;
    for (const ExportTable& t : schema) {
      if (t.graph && !samples) {
        files_.push_back(nullptr);
        continue;
      }
      auto file = std::make_unique<StagedFile>(folder_ / (t.name + ".csv"));
      if (!file->ok()) return Fail(folder_ / (t.name + ".csv"), ReasonText(file->error()));
      line_.assign(kByteOrderMark);
      for (std::size_t i = 0; i < t.columns.size(); ++i) {
        if (i) line_ += ',';
        line_ += t.columns[i].name;
      }
      line_ += "\r\n";
      if (!file->Write(line_)) return Fail(folder_ / (t.name + ".csv"), ReasonText(file->error()));
      files_.push_back(std::move(file));
    }
    return true;
  }

  bool Insert(TableId table, std::span<const Cell> row) override {
    const auto index = static_cast<std::size_t>(table);
    if (!files_[index]) return true;  // graph data not asked for
    const ExportTable& t = (*schema_)[index];
    if (row.size() != t.columns.size()) {
      error_ = "table " + t.name + ": a row of " + std::to_string(row.size()) + " cells for " +
               std::to_string(t.columns.size()) + " columns";
      return false;
    }
    line_.clear();
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i) line_ += ',';
      const Cell& c = row[i];
      switch (c.kind) {
        case Cell::Kind::Null: break;
        case Cell::Kind::Integer: AppendNumber(line_, c.integer); break;
        case Cell::Kind::Real: AppendNumber(line_, c.real); break;
        case Cell::Kind::Text: AppendQuoted(line_, c.text); break;
        case Cell::Kind::Bytes:
          if (!WriteImage((*schema_)[index].name, row, c.text)) return false;
          AppendQuoted(line_, imageName_);
          break;
      }
    }
    line_ += "\r\n";
    if (!files_[index]->Write(line_)) return Fail(files_[index]->finalPath(), ReasonText(files_[index]->error()));
    return true;
  }

  // Puts the images in place, then the tables that name them; when a table cannot be
  // put in place, the images this export put there are taken away again.
  bool Commit() {
    std::vector<std::filesystem::path> placed;
    bool ok = true;
    for (const auto& image : images_) {
      if (!image->Commit(false)) {
        ok = Fail(image->finalPath(), ReasonText(image->error()));
        break;
      }
      placed.push_back(image->finalPath());
    }
    for (const std::filesystem::path& folder : madeFolders_) FlushFolder(folder);
    for (std::size_t i = 0; ok && i < files_.size(); ++i)
      if (files_[i] && !files_[i]->Commit()) ok = Fail(files_[i]->finalPath(), ReasonText(files_[i]->error()));
    if (!ok) {
      std::error_code ec;
      for (const std::filesystem::path& image : placed) std::filesystem::remove(image, ec);
    }
    return ok;
  }

  // Removes the image folders this export made when nothing was put in them.
  ~CsvSink() override {
    std::error_code ec;
    for (const std::filesystem::path& folder : madeFolders_)
      if (std::filesystem::is_empty(folder, ec)) std::filesystem::remove(folder, ec);
  }

  std::string error() const override { return error_; }

 private:
  // An image cell: the bytes go to <table>/<set_id>_<item>.png, the cell names it.
  bool WriteImage(const std::string& table, std::span<const Cell> row, std::string_view bytes) {
    imageName_ = table + "/";
    imageName_ += row[0].text;
    imageName_ += '_';
    AppendNumber(imageName_, row[1].integer);
    imageName_ += ".png";
    std::error_code ec;
    if (std::filesystem::create_directory(folder_ / table, ec)) madeFolders_.push_back(folder_ / table);
    // The images wait, closed, for the tables: they are put in place together at the
    // end, and a failure or a cancel leaves none of them.
    auto image = std::make_unique<StagedFile>(folder_ / imageName_);
    if (!image->Write(bytes.data(), bytes.size()) || !image->Close())
      return Fail(folder_ / imageName_, ReasonText(ec ? ec : image->error()));
    images_.push_back(std::move(image));
    return true;
  }

  bool Fail(const std::filesystem::path& file, const std::string& why) {
    error_ = FillIn(Text(StringId::FileWriteFailed), {file.string(), why});
    return false;
  }

  std::filesystem::path folder_;
  const std::vector<ExportTable>* schema_ = nullptr;
  std::vector<std::unique_ptr<StagedFile>> files_;  // indexed by TableId
  std::vector<std::unique_ptr<StagedFile>> images_;
  std::vector<std::filesystem::path> madeFolders_;
  std::string line_;
  std::string imageName_;
  std::string error_;
};

}  // namespace

JobOutcome ExportCsv(const MeasurementSource& selection, const std::filesystem::path& folder,
                     const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  // The reason the folder could not be made (a read-only medium), not what a look at
  // the missing folder says afterwards.
  if (!ec && !std::filesystem::is_directory(folder, ec) && !ec) ec = std::make_error_code(std::errc::not_a_directory);
  if (ec) return JobOutcome::Failed(FillIn(Text(StringId::FileCreateFailed), {folder.string(), ReasonText(ec)}));
  CsvSink sink(folder);
  JobOutcome outcome = WriteExportRows(selection, sink, options, observer, abort);
  if (outcome.done() && !sink.Commit()) return JobOutcome::Failed(sink.error());
  return outcome;
}

}  // namespace rxt4
