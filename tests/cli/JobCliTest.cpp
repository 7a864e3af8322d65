// rxt4 job: a set folder's job record printed, changed field by field and refused for
// a bad key or value without a change; the company record of the settings.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../common/RunRxt4.h"

namespace {

namespace fs = std::filesystem;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;
using rxt4::test::ReadAll;

class JobCli : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "D/0412/LEVEL");
    fs::create_directories(dir_ / "config");
  }
  Outcome Run(const std::string& args) { return RunRxt4(dir_, args, "XDG_CONFIG_HOME='" + (dir_ / "config").string() + "' "); }
  std::string Record() { return ReadAll(dir_ / "D/0412/job.toml"); }

  rxt4::test::TempFolder temp_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path dir_ = temp_.path();
};

TEST_F(JobCli, ChangesArePrintedBackAndBadOnesChangeNothing) {
  struct Case {
    std::string args;
    int status;
    std::string inErr;  // empty: no message
  };
  const Case cases[] = {
      {"D --set 0412 --field title=共聴設備点検 --field お客様名=山田様 --field 'address=東京都\\n2F'", 0, ""},
      {"D --set 0412 --field measured_at='2026-04-12 10:30' --label LEVEL:3=101号室 --remark level:3=端子交換", 0, ""},
      {"D --set 0412 --field subject=x", 2, "subject"},
      {"D --set 0412 --field title", 2, "KEY=VALUE"},
      {"D --set 0412 --field measured_at=2026/04/12", 2, "YYYY-MM-DD"},
      {"D --set 0412 --field 'title=a\\nb'", 2, "改行"},
      {"D --set 0412 --label LEVEL=x", 2, "LEVEL"},
      {"D --set 0412 --label WAVE:1=x", 2, "WAVE"},
      {"D --set 0412 --label LEVEL:0=x", 2, "「0」"},
      {"D --set 0412 --field title=ok --label LEVEL:0=x", 2, "「0」"},  // nothing of it is written
      {"D --set 9999 --field title=x", 2, "9999"},
      {"D --set ../D --field title=x", 2, "../D"},
      {"D --field title=x", 2, "--set"},
      {"--set 0412", 2, "データフォルダ"},
      {"NOWHERE --set 0412", 2, "NOWHERE"},
      {"D --set 0412 --colour", 2, "--colour"},
  };
  for (const Case& c : cases) {
    const std::string was = Record();
    const Outcome r = Run("job " + c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    if (c.inErr.empty()) EXPECT_EQ(r.err, "") << c.args;
    else EXPECT_NE(r.err.find(c.inErr), std::string::npos) << c.args << "\n" << r.err;
    if (c.status != 0) {
      EXPECT_EQ(Record(), was) << c.args;
    }
  }

  const Outcome shown = Run("job D --set 0412");
  EXPECT_EQ(shown.status, 0) << shown.err;
  for (const char* line : {"件名 (title): 共聴設備点検\n", "お客様名 (customer): 山田様\n", "住所 (address): 東京都\n  2F\n",
                           "測定日時 (measured_at): 2026-04-12 10:30\n", "天候 (weather):\n",
                           "LEVEL:3 ラベル: 101号室\n", "LEVEL:3 備考: 端子交換\n"})
    EXPECT_NE(shown.out.find(line), std::string::npos) << line << shown.out;

  // A label cleared keeps the remark; an empty field is cleared.
  EXPECT_EQ(Run("job D --set 0412 --label LEVEL:3= --field title=").status, 0);
  const Outcome cleared = Run("job D --set 0412");
  EXPECT_NE(cleared.out.find("件名 (title):\n"), std::string::npos) << cleared.out;
  EXPECT_EQ(cleared.out.find("ラベル"), std::string::npos) << cleared.out;
  EXPECT_NE(cleared.out.find("LEVEL:3 備考: 端子交換\n"), std::string::npos) << cleared.out;
}

TEST_F(JobCli, ADamagedRecordIsSaidAndKept) {
  std::ofstream(dir_ / "D/0412/job.toml") << "title = \"unterminated\n";
  for (const char* args : {"job D --set 0412", "job D --set 0412 --field title=x"}) {
    const Outcome r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find("D/0412/job.toml:1:"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Record(), "title = \"unterminated\n");
}

TEST_F(JobCli, TheCompanyRecordLivesInTheSettingsFolder) {
  EXPECT_EQ(Run("job --company --field 会社名=株式会社サンプル電設 --field phone=03-1234-5678 --field logo=logo.svg").status, 0);
  EXPECT_TRUE(fs::exists(dir_ / "config/RXT4_Viewer/company.toml"));
  const Outcome shown = Run("job --company");
  EXPECT_NE(shown.out.find("会社名 (name): 株式会社サンプル電設\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("ロゴ画像 (logo): logo.svg\n"), std::string::npos) << shown.out;
  const Outcome bad = Run("job --company --field logo=logo.bmp");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("logo.bmp"), std::string::npos) << bad.err;
  EXPECT_EQ(Run("job D --company").status, 2);
}

}  // namespace
