// The PDF report of the demonstration data, read back with poppler's tools; the
// outputs' failure and cancel paths; the worker job.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <regex>

#include "DemoArchive.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/Report.h"
#include "rxt4/report/ReportJob.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;
using test::CommandOutput;
using test::DemoArchive;

constexpr const char* kDate = "2024年05月01日";

std::string PdfText(const fs::path& pdf, int first, int last) {
  return CommandOutput("pdftotext -layout -f " + std::to_string(first) + " -l " + std::to_string(last) + " '" +
                       pdf.string() + "' - 2>&1");
}

int Count(const std::string& haystack, const std::string& needle) {
  int n = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
  return n;
}

TEST(ReportPdf, PagesTextsFontAndPictures) {
  const DemoArchive& demo = DemoArchive::Get();
  // 1 title page, 2 pages of tables, then the screens of each set folder and kind on
  // pages of their own: 19 pages four to a page, 31 two to a page (55 measurements in
  // 15 groups of 1 to 12).
  const struct {
    int perPage;
    int pages;
  } cases[] = {{4, 22}, {2, 34}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.perPage);
    const fs::path pdf = demo.work / ("report" + std::to_string(c.perPage) + ".pdf");
    ReportOptions options;
    options.date = kDate;
    options.screensPerPage = c.perPage;
    NullJobObserver quiet;
    const std::atomic<bool> never{false};
    ASSERT_TRUE(WriteReport(demo.selection, pdf, options, quiet, never).done());
    const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "' 2>&1");
    EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages) + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           測定レポート"), std::string::npos) << info;
    EXPECT_NE(info.find("A4"), std::string::npos) << info;

    // Every screen is a picture drawn without smoothing.
    const std::string bytes = test::FileBytes(pdf);
    EXPECT_EQ(Count(bytes, "/Subtype /Image"), 55);
    EXPECT_EQ(Count(bytes, "/Interpolate false"), 55);
    const std::string last = PdfText(pdf, c.pages, c.pages);
    EXPECT_NE(last.find(std::to_string(c.pages) + " / " + std::to_string(c.pages)), std::string::npos);
  }

  const fs::path pdf = demo.work / "report4.pdf";
  const std::string title = PdfText(pdf, 1, 1);
  for (const char* text : {"測定レポート", "/RXT4", kDate, "0412、0413", "種類別の測定数"})
    EXPECT_NE(title.find(text), std::string::npos) << text << "\n" << title;
  EXPECT_TRUE(std::regex_search(title, std::regex("レベル測定データ +16\n"))) << title;
  EXPECT_TRUE(std::regex_search(title, std::regex("合計 +55\n"))) << title;

  // The tables keep the stored texts, the instrument's markers included.
  const std::string tables = PdfText(pdf, 2, 3);
  for (const char* text :
       {"0412 ／ レベル測定データ（12 件）", "0413 ／ スカパー測定データ（2 件）", "データNo.", "レベル(dBμ)",
        "C/N(dB)", "27ch NHK総合", "---.-", "___._", "~~~.~", "-.-----", "_._____", "~.~~~~~", "2.0E-4"})
    EXPECT_NE(tables.find(text), std::string::npos) << text;
  EXPECT_TRUE(std::regex_search(tables, std::regex(R"( 5 +試験:未測定 +N-SAT110 +ND2 +1613\.00 +---\.- +---\.-)")))
      << tables;

  const std::string screens = PdfText(pdf, 4, 4);
  EXPECT_NE(screens.find("0412 ／ レベル測定データ"), std::string::npos) << screens;
  EXPECT_TRUE(std::regex_search(screens, std::regex("データNo\\. 1 +27ch NHK総合"))) << screens;

  const std::string fonts = CommandOutput("pdffonts '" + pdf.string() + "' 2>&1");
  EXPECT_TRUE(std::regex_search(fonts, std::regex(R"(\+IPAGothic +CID TrueType +Identity-H +yes +yes +yes)"))) << fonts;
}

// Each output under a path it cannot be written to, and each cancelled at once:
// a failure or a cancel, and no file under the final name or the temporary one.
TEST(ReportOutputs, FailuresAndCancelsLeaveNoFile) {
  const DemoArchive& demo = DemoArchive::Get();
  const fs::path blocker = demo.work / "blocker";
  { std::ofstream(blocker) << "a file where a folder should be"; }
  using Write = std::function<JobOutcome(const fs::path&, JobObserver&, const std::atomic<bool>&)>;
  ReportOptions options;
  options.date = kDate;
  const struct {
    const char* name;
    Write write;
    const char* leftover;  // a file the output would have made
  } outputs[] = {
      {"report.pdf",
       [&](const fs::path& p, JobObserver& o, const std::atomic<bool>& a) {
         return WriteReport(demo.selection, p, options, o, a);
       },
       ""},
      {"export.db",
       [&](const fs::path& p, JobObserver& o, const std::atomic<bool>& a) {
         return ExportSqlite(demo.selection, p, o, a);
       },
       ""},
      {"csv",
       [&](const fs::path& p, JobObserver& o, const std::atomic<bool>& a) {
         return ExportCsv(demo.selection, p, o, a);
       },
       "level.csv"},
  };
  for (const auto& output : outputs) {
    SCOPED_TRACE(output.name);
    NullJobObserver quiet;
    const std::atomic<bool> never{false}, raised{true};
    const fs::path unwritable = blocker / output.name;
    const JobOutcome failed = output.write(unwritable, quiet, never);
    EXPECT_EQ(failed.status, JobOutcome::Status::Failed);
    EXPECT_NE(failed.message.find(output.name), std::string::npos) << failed.message;
    EXPECT_FALSE(fs::exists(unwritable));

    const fs::path cancelled = demo.work / "cancelled" / output.name;
    fs::create_directories(cancelled.parent_path());
    EXPECT_EQ(output.write(cancelled, quiet, raised).status, JobOutcome::Status::Cancelled);
    EXPECT_FALSE(fs::exists(cancelled / output.leftover));
    // Nothing under a temporary name either, beside the output or in its folder.
    for (const fs::path& folder : {cancelled.parent_path(), cancelled}) {
      if (!fs::is_directory(folder)) continue;
      for (const auto& e : fs::directory_iterator(folder)) {
        EXPECT_NE(e.path().extension(), ".part") << e.path();
      }
    }
  }
}

// An archive of 40 set folders of 367,022 level measurements each, as counts: the
// report is planned from them alone and at once (linear in the measurements; it would
// take hours if each page break looked for its table's header from the start), and a
// cancel is heard as soon as the drawing asks for the first set folder's measurements.
class ArchiveCounts : public MeasurementSource {
 public:
  explicit ArchiveCounts(std::atomic<bool>& abort) : abort_(abort) {
    for (int f = 1; f <= 40; ++f) {
      SourceFolder& folder = folders_.emplace_back();
      folder.name = "S" + std::to_string(f);
      folder.counts[static_cast<std::size_t>(TransferKind::Level)] = 367'022;
    }
  }
  const fs::path& DataFolderPath() const override { return path_; }
  std::vector<SourceFolder> Folders() const override { return folders_; }
  std::optional<FolderMeasurements> Measurements(const SourceFolder&, std::string& error) const override {
    ++asked;
    abort_ = true;  // the user cancels as the first table page is drawn
    error = "not read";
    return std::nullopt;
  }
  mutable int asked = 0;

 private:
  std::atomic<bool>& abort_;
  fs::path path_ = "/archive";
  std::vector<SourceFolder> folders_;
};

class LastProgress : public NullJobObserver {
 public:
  void Progress(int done, int total) override { last = {done, total}; }
  std::pair<int, int> last{0, 0};
};

TEST(ReportPlan, AnArchiveIsPlannedFromItsCountsAndACancelIsHeard) {
  const fs::path pdf = DemoArchive::Get().work / "archive.pdf";
  ReportOptions options;
  options.date = kDate;
  std::atomic<bool> abort{false};
  const ArchiveCounts archive(abort);
  LastProgress progress;
  EXPECT_EQ(WriteReport(archive, pdf, options, progress, abort).status, JobOutcome::Status::Cancelled);
  // The title page was drawn: 1 title page; per set folder 1 + 6327 table pages (56
  // rows under the heading, then 58 a page) and 91,756 pages of four screens.
  EXPECT_EQ(progress.last, std::make_pair(1, 1 + 40 * 6328 + 40 * 91756));
  EXPECT_EQ(archive.asked, 1);
  EXPECT_FALSE(fs::exists(pdf));

  // Raised before the start, the cancel ends the planning.
  const ArchiveCounts again(abort);
  LastProgress none;
  EXPECT_EQ(WriteReport(again, pdf, options, none, abort).status, JobOutcome::Status::Cancelled);
  EXPECT_EQ(none.last, std::make_pair(0, 0));
  EXPECT_EQ(again.asked, 0);
}

// A report holds only the set folders of the page it draws (the demonstration's three
// share a page of tables; a screen page shows one): each is read for its tables and
// again for its screens (0412, still held when its screens follow the tables, once).
// The report is the same as from the whole selection.
TEST(ReportPlan, SetFolderBySetFolder) {
  const DemoArchive& demo = DemoArchive::Get();
  ReportOptions options;
  options.date = kDate;
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const fs::path whole = demo.work / "whole.pdf", counted = demo.work / "counted.pdf";
  ASSERT_TRUE(WriteReport(demo.selection, whole, options, quiet, never).done());
  int mostHeld = 0, loads = 0;
  {
    struct Counting : MeasurementSource {
      const MeasurementSelection& s;
      int& most;
      int& loads;
      mutable int now = 0;
      Counting(const MeasurementSelection& selection, int& m, int& l) : s(selection), most(m), loads(l) {}
      const fs::path& DataFolderPath() const override { return s.DataFolderPath(); }
      std::vector<SourceFolder> Folders() const override { return s.Folders(); }
      std::optional<FolderMeasurements> Measurements(const SourceFolder& f, std::string& e) const override {
        std::optional<FolderMeasurements> held = s.Measurements(f, e);
        most = std::max(most, ++now);
        ++loads;
        held->owner = std::shared_ptr<const void>(nullptr, [this](const void*) { --now; });
        return held;
      }
    } source(demo.selection, mostHeld, loads);
    ASSERT_TRUE(WriteReport(source, counted, options, quiet, never).done());
  }
  EXPECT_EQ(mostHeld, 2);
  EXPECT_EQ(loads, 3);
  EXPECT_EQ(PdfText(whole, 1, 22), PdfText(counted, 1, 22));
}

// Counts what the worker reports and aborts its job at the first progress report.
class AbortingObserver : public JobObserver {
 public:
  ReportJob* job = nullptr;
  std::atomic<int> progress{0}, finished{0};
  void Progress(int, int) override {
    if (++progress == 1 && job != nullptr) job->Abort();
  }
  void Warning(const std::string&) override {}
  void Finished(const JobOutcome&) override { ++finished; }
};

TEST(ReportJob, RunsOnItsWorkerAndStopsWhenAborted) {
  const DemoArchive& demo = DemoArchive::Get();
  ReportOptions options;
  options.date = kDate;
  for (const bool abort : {false, true}) {
    SCOPED_TRACE(abort);
    const fs::path pdf = demo.work / (abort ? "aborted.pdf" : "job.pdf");
    AbortingObserver observer;
    ReportJob job;
    if (abort) observer.job = &job;
    ASSERT_TRUE(job.Start(
        [&](JobObserver& o, const std::atomic<bool>& a) { return WriteReport(demo.selection, pdf, options, o, a); },
        observer));
    EXPECT_FALSE(job.Start([](JobObserver&, const std::atomic<bool>&) { return JobOutcome{}; }, observer));
    job.Join();
    EXPECT_FALSE(job.running());
    EXPECT_EQ(observer.finished.load(), 1);
    EXPECT_EQ(job.outcome().status, abort ? JobOutcome::Status::Cancelled : JobOutcome::Status::Done);
    EXPECT_EQ(fs::exists(pdf), !abort);
    EXPECT_EQ(observer.progress.load(), abort ? 1 : 22);
  }
}

// Under a Japanese locale fontconfig gives IPA Gothic's Japanese name first
// (IPAゴシック): the report's font is found by any of its names, so no warning says
// that it is missing. (ctest runs each test in a process of its own, which reads
// FC_LANG when it first asks fontconfig.)
TEST(ReportFont, FoundByAnyOfItsFamilyNames) {
  setenv("FC_LANG", "ja", 1);
  class Warnings : public NullJobObserver {
   public:
    void Warning(const std::string& message) override { said.push_back(message); }
    std::vector<std::string> said;
  } warnings;
  const DemoArchive& demo = DemoArchive::Get();
  ReportOptions options;
  options.date = kDate;
  const std::atomic<bool> never{false};
  ASSERT_TRUE(WriteReport(demo.selection, demo.work / "font.pdf", options, warnings, never).done());
  EXPECT_EQ(warnings.said, std::vector<std::string>{});
}

}  // namespace
}  // namespace rxt4
