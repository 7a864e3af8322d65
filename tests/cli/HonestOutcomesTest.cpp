// What the commands say and return when folders cannot be read, names are no valid
// UTF-8 or very long, and companion files give no graph: a failure is a failure (status
// 1, the folder and the reason named, nothing written), and every warning comes once.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../common/Unprivileged.h"
#include "../common/RunRxt4.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

class HonestOutcomes : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ec;
    for (const char* locked : {"locked", "D/0413", "ro"}) fs::permissions(dir_ / locked, fs::perms::owner_all, ec);
  }

  Outcome Rxt4(const std::string& args, const std::string& prefix = {}) { return RunRxt4(dir_, args, prefix); }

  void Put(const std::string& relative, const std::string& bytes) {
    fs::create_directories((dir_ / relative).parent_path());
    std::ofstream(dir_ / relative, std::ios::binary) << bytes;
  }

  // A set folder with one constellation measurement and its diagram.
  void ConstellationSet(const std::string& name) {
    Put("C/" + name + "/CONSTEL/" + name + ".CNT", "1\n2.00");
    Put("C/" + name + "/CONSTEL/" + name + ".CSV", "header\n001,diagram,BS,1\n");
    Put("C/" + name + "/CONSTEL/" + name + ".001", std::string(4825, '\x55'));
  }

  rxt4::test::TempFolder temp_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path dir_ = temp_.path();
};

// A data folder or a set folder that cannot be read is a failure naming it: no empty
// success, no file written.
TEST_F(HonestOutcomes, UnreadableFoldersFailTheCommands) {
  ASSERT_EQ(Rxt4("sample locked").status, 0);
  ASSERT_EQ(Rxt4("sample D").status, 0);
  fs::permissions(dir_, fs::perms::all);  // the other user may write the outputs here
  fs::permissions(dir_ / "locked", fs::perms::none);
  fs::permissions(dir_ / "D/0413", fs::perms::none);
  fs::create_directories(dir_ / "ro");
  fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  // list and render name the folder as given, report and export as an absolute path.
  const std::string lockedData = "locked（アクセスが許可されていません）\n";
  const std::string lockedSet = "フォルダを読み込めません: " + (dir_ / "D/0413").string() + "（アクセスが許可されていません）\n";
  const struct {
    std::string args;
    std::string err;  // a part of standard error
    const char* mustNotExist;
  } cases[] = {
      {"list locked", lockedData, ""},
      {"export locked --sqlite e.db", lockedData, "e.db"},
      {"report locked --out r.pdf", lockedData, "r.pdf"},
      {"render locked --out o", lockedData, "o/0412"},
      {"export D --set 0413 --sqlite e.db", lockedSet, "e.db"},
      {"export D --set 0412 --csv ro/new", "rxt4 export: ro/new を作成できません: アクセスが許可されていません\n", "ro/new"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome run = Rxt4(c.args, AsOtherUser());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("measurements"), std::string::npos) << run.out;
    if (*c.mustNotExist) {
      EXPECT_FALSE(fs::exists(dir_ / c.mustNotExist));
    }
  }
}

// Set folder names that are no valid UTF-8 are listed and exported escaped (so every
// name stays apart); a name as long as the file system allows exports whole; a failed
// export leaves none of its images.
TEST_F(HonestOutcomes, OddSetFolderNamesAreListedAndExported) {
  const std::string odd = "A\xFF\\B";
  Put("D/" + odd + "/LEVEL/" + odd + ".CNT", "1\n2.00");
  Put("D/" + odd + "/LEVEL/" + odd + ".CSV", "header\n001,name\n");
  const Outcome list = Rxt4("list D");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find("BER")), "レベル測定データ\n  A\\xFF\\\\B\n      1:name\n");
  ASSERT_EQ(Rxt4("export D --csv csv").status, 0);
  EXPECT_NE(ReadAll(dir_ / "csv/level.csv").find(",1,A\\xFF\\\\B,,001,name,"), std::string::npos);

  const std::string longName(245, 'x');
  ConstellationSet(longName);
  ConstellationSet("short");
  const Outcome whole = Rxt4("export C --samples --csv c1");
  EXPECT_EQ(whole.status, 0) << whole.err;
  EXPECT_NE(ReadAll(dir_ / "c1/constellation.csv").find("," + longName + ","), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "c1/constellation_images"), fs::directory_iterator()), 2);
  fs::create_directories(dir_ / "c2/level.csv");  // the tables cannot be put in place
  EXPECT_EQ(Rxt4("export C --samples --csv c2").status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "c2/constellation_images"));
}

// Damage worse than a cut table is said (the load messages of list), and a companion
// file without a graph is named once, however many files an export writes.
TEST_F(HonestOutcomes, DamageIsSaidAndEachWarningComesOnce) {
  ASSERT_EQ(Rxt4("sample D").status, 0);
  Put("D/0412/BER/0412.CNT", std::string(8, '\0'));
  Put("D/0413/LEVEL/0413.CSV", "header only\n");
  fs::resize_file(dir_ / "D/0413/SPECTRUM/0413.002", 3);
  const Outcome list = Rxt4("list D --summary");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.err, "D/0412/BER/0412.CNT の記録情報が正しくありません。\\nこのフォルダのデータは表示されません。\n"
                      "D/0413/LEVEL/0413.CSV のデータ数が記録情報と異なります。\\nデータが正常に表示できない可能性があります。\\n"
                      "CSVファイルを確認してください。\n");
  const Outcome both = Rxt4("export D --set 0413 --samples --sqlite e.db --csv csv");
  EXPECT_EQ(both.status, 0);
  const std::string warning = "D/0413/SPECTRUM/0413.002: 付属ファイルがないか壊れているため";
  const std::size_t first = both.err.find(warning);
  EXPECT_NE(first, std::string::npos) << both.err;
  EXPECT_EQ(both.err.find(warning, first + 1), std::string::npos) << both.err;
  const Outcome report = Rxt4("report D --set 0413 --out r.pdf");
  EXPECT_EQ(report.status, 0);
  EXPECT_NE(report.err.find(warning), std::string::npos) << report.err;
}

}  // namespace
}  // namespace rxt4::test
