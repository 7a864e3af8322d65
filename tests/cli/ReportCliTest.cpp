// rxt4 report and rxt4 export on the sample folder: what they write, and their
// answers to bad input (exit status, message, and no file left behind).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <regex>
#include <string>

#include "../common/RunRxt4.h"
namespace {

namespace fs = std::filesystem;
using rxt4::test::RunRxt4;
using rxt4::test::ReadAll;

class ReportCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    temp_ = std::make_unique<rxt4::test::TempFolder>("report");
    dir_ = temp_->path();
    ASSERT_EQ(Run("sample data"), 0);
    std::ofstream(dir_ / "plain") << "a file, not a folder";
  }
  static void TearDownTestSuite() { temp_.reset(); }

  static int Run(const std::string& args) {
    return RunRxt4(dir_, args).status;
  }
  static std::string Err() { return ReadAll(dir_ / "err.txt"); }

  static inline std::unique_ptr<rxt4::test::TempFolder> temp_;
  static inline fs::path dir_;
};

TEST_F(ReportCli, WritesTheReportAndTheExports) {
  ASSERT_EQ(Run("report data --set 0413 --out r.pdf"), 0) << Err();
  EXPECT_EQ(ReadAll(dir_ / "out.txt"), "r.pdf: セットフォルダ 1 個の測定 15 件\n");
  EXPECT_EQ(ReadAll(dir_ / "r.pdf").substr(0, 5), "%PDF-");
  ASSERT_EQ(Run("export data --set 0413 --sqlite e.db --csv csv"), 0) << Err();
  EXPECT_EQ(ReadAll(dir_ / "e.db").substr(0, 16), std::string("SQLite format 3\0", 16));
  EXPECT_EQ(ReadAll(dir_ / "csv" / "sky.csv").substr(0, 3), "\xEF\xBB\xBF");
}

// The cover and the labels come from the set folder's job record and the settings
// folder's company record; the data folder is named, never its path.
TEST_F(ReportCli, CoverFromTheRecords) {
  const fs::path config = dir_ / "config";
  fs::create_directories(config / "RXT4_Viewer");
  std::ofstream(config / "RXT4_Viewer" / "company.toml") << "name = \"東都電設株式会社\"\nphone = \"03-1234-5678\"\n";
  std::ofstream(dir_ / "data" / "0413" / "job.toml")
      << "title = \"共聴設備 定期点検\"\ncustomer = \"山田ハウジング\"\nproperty = \"メゾン桜台\"\n"
         "address = \"東京都練馬区桜台1-2-3\"\nmeasured_at = \"2026-04-12 10:30\"\ntechnician = \"佐藤 一郎\"\n"
         "findings = \"減衰器を推奨します\"\n[instrument]\nmodel = \"RXT4\"\nserial = \"A1234567\"\n"
         "[measurement.LEVEL.1]\nlabel = \"101号室 リビング\"\n";
  const rxt4::test::Outcome run = rxt4::test::RunRxt4(
      dir_, "report data --set 0413 --out cover.pdf --screens none", "XDG_CONFIG_HOME='" + config.string() + "' ");
  fs::remove(dir_ / "data" / "0413" / "job.toml");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(std::system(("pdftotext -layout '" + (dir_ / "cover.pdf").string() + "' '" +
                         (dir_ / "cover.txt").string() + "'").c_str()),
            0);
  const std::string text = ReadAll(dir_ / "cover.txt");
  for (const char* field : {"共聴設備 定期点検", "山田ハウジング", "メゾン桜台", "東京都練馬区桜台1-2-3",
                            "2026年04月12日 10:30", "佐藤 一郎", "製造番号 A1234567", "減衰器を推奨します",
                            "東都電設株式会社", "03-1234-5678", "data（0413）", "101号室 リビング"})
    EXPECT_NE(text.find(field), std::string::npos) << field << "\n" << text;
  EXPECT_EQ(text.find(dir_.string()), std::string::npos) << "a path of the machine is printed";
}

// The sample's first two set folders compared, before and after: a page per kind with
// both readings, the change and both verdicts, and its bookmark.
TEST_F(ReportCli, CompareTheSamplesVisits) {
  std::vector<std::string> sets;
  for (const auto& entry : fs::directory_iterator(dir_ / "data"))
    if (entry.is_directory()) sets.push_back(entry.path().filename().string());
  std::sort(sets.begin(), sets.end());
  ASSERT_GE(sets.size(), 2u);
  ASSERT_EQ(Run("report data --compare " + sets[0] + " " + sets[1] + " --screens none --out cmp.pdf"), 0) << Err();
  ASSERT_EQ(std::system(("pdftotext -layout '" + (dir_ / "cmp.pdf").string() + "' '" + (dir_ / "cmp.txt").string() +
                         "'").c_str()),
            0);
  const std::string text = ReadAll(dir_ / "cmp.txt");
  const std::string title = "調整前後の比較: " + sets[0] + " → " + sets[1];
  EXPECT_NE(text.find(title + " ／ レベル測定データ"), std::string::npos) << text;
  EXPECT_NE(text.find("前: " + sets[0]), std::string::npos);
  EXPECT_NE(text.find("後: " + sets[1]), std::string::npos);
  EXPECT_TRUE(std::regex_search(text, std::regex(R"(dBμV +(○|△|×|–) \S+ +\S+ dBμV +(○|△|×|–) \S+ +[+-]\d+\.\d dB)")))
      << text;
}

// The report's summary counts what rxt4 check counts, set folder by set folder and
// overall, with the same profile.
TEST_F(ReportCli, SummaryCountsAreThoseOfCheck) {
  for (const char* limits : {"", " --limits receiver-minimum"}) {
    SCOPED_TRACE(limits);
    ASSERT_EQ(Run(std::string("check data") + limits), 1) << Err();
    const std::string check = ReadAll(dir_ / "out.txt");
    ASSERT_EQ(Run(std::string("report data --out s.pdf --screens none") + limits), 0) << Err();
    ASSERT_EQ(std::system(("pdftotext -layout -f 2 -l 2 '" + (dir_ / "s.pdf").string() + "' '" +
                           (dir_ / "s.txt").string() + "'")
                              .c_str()),
              0);
    const std::string text = ReadAll(dir_ / "s.txt");
    // "0412: 不合格 (測定 40 件: 合格 11 / 注意 1 / 不合格 8 / 判定なし 20、..."
    const std::regex line(R"((\S+): \S+ \(測定 (\d+) 件: 合格 (\d+) / 注意 (\d+) / 不合格 (\d+) / 判定なし (\d+))");
    int sets = 0;
    for (auto it = std::sregex_iterator(check.begin(), check.end(), line); it != std::sregex_iterator(); ++it) {
      const std::smatch& m = *it;
      const std::string name = m[1] == "全体" ? "全体" : m[1].str() + " +計";
      const std::string row = "\n" + name + " +" + m[2].str() + " +" + m[3].str() + " +" + m[4].str() + " +" +
                              m[5].str() + " +" + m[6].str() + " ";
      EXPECT_TRUE(std::regex_search(text, std::regex(row))) << row << "\n" << text;
      ++sets;
    }
    EXPECT_EQ(sets, 3) << check;  // 0412, 0413 and 全体
  }
}

TEST_F(ReportCli, BadInputIsRefusedAndLeavesNoFile) {
  const struct {
    const char* args;
    int status;
    const char* message;
    const char* mustNotExist;
  } cases[] = {
      {"report missing --out a.pdf", 2, "「missing」はフォルダではありません", "a.pdf"},
      {"report data --set 9999 --out b.pdf", 2, "セットフォルダ「9999」が「data」にありません", "b.pdf"},
      {"report data --set .. --out b.pdf", 2, "セットフォルダ「..」が", "b.pdf"},
      {"report data --out plain/c.pdf", 1, "plain/c.pdf を作成できません", "plain/c.pdf.part"},
      {"report data", 2, "--out FILE.pdf を指定してください", ""},
      {"report data --out d.pdf --per-page 3", 2, "--per-page に「3」は使えません", "d.pdf"},
      {"report data --out d.pdf --screens some", 2, "--screens に「some」は使えません", "d.pdf"},
      {"report data --out d.pdf --kinds level,tv", 2, "--kinds に「level,tv」は使えません", "d.pdf"},
      {"report data --out d.pdf --limits nowhere", 2, "nowhere", "d.pdf"},
      {"report data --out d.pdf --compare 0412 9999", 2, "セットフォルダ「9999」が", "d.pdf"},
      {"report data --out d.pdf --compare 0412", 2, "--compare SET_A SET_B を指定してください", "d.pdf"},
      {"export data", 2, "--sqlite FILE.db, --csv DIR, --xlsx FILE.xlsx を指定してください", ""},
      {"export data --limits nosuch --xlsx x.xlsx", 2, "nosuch", "x.xlsx"},
      {"export missing --sqlite x.db", 2, "「missing」はフォルダではありません", "x.db"},
      {"export data --set 9999 --csv f", 2, "セットフォルダ「9999」が", "f"},
      {"export data --sqlite plain/g.db", 1, "plain/g.db に書き込めません", "plain/g.db.part"},
      {"export data --csv plain/h", 1, "plain/h を作成できません", "plain/h"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args), c.status);
    EXPECT_NE(Err().find(c.message), std::string::npos) << Err();
    if (*c.mustNotExist) {
      EXPECT_FALSE(fs::exists(dir_ / c.mustNotExist));
    }
  }
}

}  // namespace
