// The PDF report of the demonstration data, read back with poppler's tools; the
// outputs' failure and cancel paths; the worker job.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <regex>

#include "DemoArchive.h"
#include "rxt4/judge/FolderJudgement.h"
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

std::shared_ptr<const LimitsProfile> Outlet() {
  auto profile = std::make_shared<LimitsProfile>();
  ProfileError error;
  EXPECT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", *profile, error)) << error.Text();
  return profile;
}

ReportOptions CustomerOptions() {
  ReportOptions options;
  options.date = kDate;
  options.number = "R-2024-0501";
  options.profile = Outlet();
  options.cover.subject = "共聴設備 受信点検";
  options.cover.customer = "山田管理組合";
  options.cover.site = "グリーンハイツ";
  options.cover.address = "東京都港区芝公園4-2-8";
  options.cover.measuredAt = "2024年04月12日 10:30";
  options.cover.technician = "佐藤 一郎";
  options.cover.instrument = "RXT4 S/N 123456";
  options.cover.company = "東都電設株式会社";
  options.cover.companyPhone = "03-1234-5678";
  options.label = [](std::string_view set, TransferKind kind, int index) {
    return set == "0412" && kind == TransferKind::Level && index == 1 ? std::string("101号室 リビング") : std::string();
  };
  return options;
}

// Bookmark titles as poppler lists them.
std::string Outline(const fs::path& pdf) {
  return CommandOutput("pdftohtml -xml -i -q -stdout '" + pdf.string() + "' 2>&1 | sed -n '/<outline>/,$p'");
}

// What a customer reads: the cover, the summary (its counts those of the judgement
// `rxt4 check` makes), the tables with units, marks and markers in words, and no
// control column; the document's information and bookmarks; no path of the machine.
TEST(ReportPdf, WhatTheCustomerReads) {
  const DemoArchive& demo = DemoArchive::Get();
  const fs::path pdf = demo.work / "customer.pdf";
  const ReportOptions options = CustomerOptions();
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  ASSERT_TRUE(WriteReport(demo.selection, pdf, options, quiet, never).done());

  const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "' 2>&1");
  for (const char* line : {"Title:           測定レポート", "Author:          東都電設株式会社",
                           "Subject:         共聴設備 受信点検", "Keywords:        RXT4, RXT4, 0412, 0413, テレビ端子",
                           "A4"})
    EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;

  const std::string all = PdfText(pdf, 1, 99);
  EXPECT_EQ(all.find(demo.work.string()), std::string::npos) << "a path of the machine is printed";
  const std::string cover = PdfText(pdf, 1, 1);
  for (const char* text : {"測定レポート", "R-2024-0501", kDate, "共聴設備 受信点検", "山田管理組合", "グリーンハイツ",
                           "東京都港区芝公園4-2-8", "2024年04月12日 10:30", "佐藤 一郎", "RXT4 S/N 123456",
                           "東都電設株式会社", "03-1234-5678", "確認印", "署名", "RXT4（0412、0413）"})
    EXPECT_NE(cover.find(text), std::string::npos) << text << "\n" << cover;

  // The summary's counts per set folder are the judgement's (FolderJudgement, as in
  // rxt4 check); 総合判定 is the worst of all.
  const std::string summary = PdfText(pdf, 2, 2);
  const FolderJudgement judgement(demo.model, *options.profile);
  for (const SetFolderSummary& set : judgement.SetFolders()) {
    const VerdictCounts& m = set.measurements;
    const std::string row = set.name + " +計 +" + std::to_string(m.total()) + " +" + std::to_string(m.pass) + " +" +
                            std::to_string(m.caution) + " +" + std::to_string(m.fail) + " +" + std::to_string(m.none);
    EXPECT_TRUE(std::regex_search(summary, std::regex(row))) << row << "\n" << summary;
  }
  EXPECT_NE(summary.find("× 不合格"), std::string::npos);
  EXPECT_NE(summary.find("判定基準: テレビ端子"), std::string::npos);
  EXPECT_TRUE(std::regex_search(summary, std::regex("21ch フジ +21 +レベル +44\\.6 dBμV +× 不合格 +50〜81")))
      << summary;

  const std::string tables = PdfText(pdf, 3, 5);
  for (const char* text : {"レベル (dBμV)", "周波数 (MHz)", "C/N (dB)", "MER (dB)", "補正値 (dB)", "測定箇所",
                           "101号室 リビング", "範囲外(下)", "範囲外(上)", "未測定", "30.0 以上", "5.0 以下", "○ 合格",
                           "× 不合格", "– 判定なし", "凡例: 範囲外(下)"})
    EXPECT_NE(tables.find(text), std::string::npos) << text << "\n" << tables;
  for (const char* text : {"___._", "~~~.~", "---.-", "_._____", "~.~~~~~", "-.-----", "制御用", "画面種別", "(dBμ)",
                           "(dBu)"})
    EXPECT_EQ(tables.find(text), std::string::npos) << text;
  // Every channel row of a multi-channel data set (the UHF scan: channels 16 to 27),
  // both field rows of a SKY row.
  for (int ch = 16; ch <= 27; ++ch)
    EXPECT_TRUE(std::regex_search(tables, std::regex("  " + std::to_string(ch - 15) + " +UHF +" +
                                                         std::to_string(ch) + " ")))
        << ch;
  EXPECT_TRUE(std::regex_search(tables, std::regex(R"(\n +2 +JCSAT-4A +13 +H +58\.5 +1\.0E-4 +14\.0 +1\.0 +△ 注意)")))
      << tables;

  const std::string outline = Outline(pdf);
  for (const char* text : {"表紙", "総合判定", "測定値", "0412", "レベル測定データ", "スカパー測定データ", "付録: 測定画面"})
    EXPECT_NE(outline.find(text), std::string::npos) << text << "\n" << outline;
}

// The screens' appendix: every screen, those of 不合格 measurements, or none; two or
// four to a page, flowing on from kind to kind, each drawn without smoothing and
// captioned with its number, name and verdict.
TEST(ReportPdf, ScreensAppendix) {
  const DemoArchive& demo = DemoArchive::Get();
  const FolderJudgement judgement(demo.model, *Outlet());
  const int failed = judgement.Overall().measurements.fail;
  const struct {
    ReportScreens screens;
    int perPage;
    int images;
  } cases[] = {{ReportScreens::None, 4, 0}, {ReportScreens::All, 4, 55}, {ReportScreens::All, 2, 55},
               {ReportScreens::Failed, 4, failed}};
  int tablePages = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.screens) * 10 + c.perPage);
    const fs::path pdf =
        demo.work / ("screens" + std::to_string(static_cast<int>(c.screens)) + std::to_string(c.perPage) + ".pdf");
    ReportOptions options = CustomerOptions();
    options.screens = c.screens;
    options.screensPerPage = c.perPage;
    NullJobObserver quiet;
    const std::atomic<bool> never{false};
    ASSERT_TRUE(WriteReport(demo.selection, pdf, options, quiet, never).done());
    const std::string bytes = test::FileBytes(pdf);
    EXPECT_EQ(Count(bytes, "/Subtype /Image"), c.images);
    EXPECT_EQ(Count(bytes, "/Interpolate false"), c.images);
    const std::string info = CommandOutput("pdfinfo '" + pdf.string() + "' 2>&1");
    std::smatch pages;
    ASSERT_TRUE(std::regex_search(info, pages, std::regex(R"(Pages: +(\d+))")));
    const int total = std::stoi(pages[1]);
    if (c.screens == ReportScreens::None) tablePages = total;
    // Pages are filled: the screens flow on from kind to kind.
    EXPECT_EQ(total, tablePages + (c.images + c.perPage - 1) / c.perPage);
    const std::string last = PdfText(pdf, total, total);
    EXPECT_NE(last.find(std::to_string(total) + " / " + std::to_string(total)), std::string::npos);
    if (c.images > 0) {
      const std::string first = PdfText(pdf, tablePages + 1, tablePages + 1);
      EXPECT_NE(first.find("付録: 測定画面"), std::string::npos) << first;
      if (c.screens == ReportScreens::All && c.perPage == 4) {
        EXPECT_TRUE(std::regex_search(first, std::regex("No\\.1 101号室 リビング +○ 合格"))) << first;
      }
      if (c.screens == ReportScreens::Failed) {
        EXPECT_TRUE(std::regex_search(first, std::regex("No\\.2 21ch フジ +× 不合格"))) << first;
      }
    }
  }
  const std::string fonts = CommandOutput("pdffonts '" + (demo.work / "screens24.pdf").string() + "' 2>&1");
  EXPECT_TRUE(std::regex_search(fonts, std::regex(R"(\+IPAGothic +CID TrueType +Identity-H +yes +yes +yes)"))) << fonts;
}

// --kinds keeps the report to some kinds; --compare adds the two visits side by side.
TEST(ReportPdf, KindsAndCompare) {
  const DemoArchive& demo = DemoArchive::Get();
  const fs::path pdf = demo.work / "compare.pdf";
  ReportOptions options = CustomerOptions();
  options.kinds = {TransferKind::Level, TransferKind::Multi};
  options.compare.emplace("0412", "0413");
  options.screens = ReportScreens::None;
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  ASSERT_TRUE(WriteReport(demo.selection, pdf, options, quiet, never).done());
  const std::string text = PdfText(pdf, 1, 99);
  EXPECT_NE(text.find("0412 ／ レベル測定データ（12 件）"), std::string::npos) << text;
  EXPECT_EQ(text.find("BER測定データ"), std::string::npos) << text;
  EXPECT_NE(text.find("調整前後の比較: 0412 → 0413 ／ レベル測定データ"), std::string::npos) << text;
  EXPECT_NE(text.find("前: 0412"), std::string::npos) << text;
  EXPECT_NE(text.find("変化"), std::string::npos) << text;
  EXPECT_NE(Outline(pdf).find("調整前後の比較"), std::string::npos);
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
         return ExportSqlite(demo.selection, p, ExportOptions{}, o, a);
       },
       ""},
      {"csv",
       [&](const fs::path& p, JobObserver& o, const std::atomic<bool>& a) {
         return ExportCsv(demo.selection, p, ExportOptions{}, o, a);
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
  // The cover and the summary were drawn: then 271,872 pages of tables (the tables
  // flowing on from set folder to set folder, 54 rows a page under the heading said
  // again) and 3,670,220 pages of four screens.
  EXPECT_EQ(progress.last, std::make_pair(2, 2 + 271'872 + 3'670'220));
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
      std::shared_ptr<const DataFolderModel> ModelOf(const std::string& n, std::string& e) const override {
        return s.ModelOf(n, e);
      }
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
  EXPECT_EQ(PdfText(whole, 1, 99), PdfText(counted, 1, 99));
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
    EXPECT_EQ(observer.progress.load(), abort ? 1 : 18);
  }
}

// What the job left out is said in the user's words: a logo that is no picture, a
// set folder to compare that is not there, a companion file that gives no graph.
TEST(ReportWarnings, SaidInWords) {
  const DemoArchive& demo = DemoArchive::Get();
  const fs::path notPng = demo.work / "logo.png";
  { std::ofstream(notPng) << "not a picture"; }
  class Said : public NullJobObserver {
   public:
    void Warning(const std::string& message) override { said.push_back(message); }
    std::vector<std::string> said;
  } said;
  ReportOptions options = CustomerOptions();
  options.cover.logo = notPng;
  options.compare.emplace("0412", "0999");
  const std::atomic<bool> never{false};
  ASSERT_TRUE(WriteReport(demo.selection, demo.work / "warned.pdf", options, said, never).done());
  const std::vector<std::string> expected = {"比較するセットフォルダ「0999」がありません",
                                             "ロゴ画像を読めません（PNG か SVG にしてください）: logo.png"};
  EXPECT_EQ(said.said, expected);
  EXPECT_EQ(WarningText({JobWarning::Kind::CompanionUnreadable, "RXT4/0413/SPECTRUM/0413.002", 0}),
            "RXT4/0413/SPECTRUM/0413.002: 付属ファイルがないか壊れているため、グラフを載せていません");
  EXPECT_EQ(WarningText({JobWarning::Kind::CompanionsMore, {}, 7}), "ほかに 7 個の付属ファイルが読めず、グラフを載せていません");
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
