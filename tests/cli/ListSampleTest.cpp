// rxt4 list and rxt4 sample, run as the built program.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../common/RunRxt4.h"
namespace {

namespace fs = std::filesystem;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;

class ListSample : public ::testing::Test {
 protected:

  // Runs rxt4 with the arguments (each single-quoted) in the temporary folder.
  Outcome Rxt4(const std::string& args) {
    return RunRxt4(dir_, args);
  }

  rxt4::test::TempFolder temp_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path dir_ = temp_.path();
};

TEST_F(ListSample, SampleFolderListsAsATree) {
  Outcome sample = Rxt4("sample RXT4");
  ASSERT_EQ(sample.status, 0) << sample.err;
  Outcome summary = Rxt4("list RXT4 --summary");
  EXPECT_EQ(summary.status, 0);
  EXPECT_EQ(summary.err, "");
  EXPECT_EQ(summary.out,
            "レベル測定データ\t2\t16\nBER測定データ\t2\t13\nコンスタレーションデータ\t2\t6\n"
            "スペクトラムデータ\t2\t7\n遅延プロファイルデータ\t2\t4\nスカパー測定データ\t2\t5\n"
            "多チャンネル測定データ\t2\t4\n");
  Outcome tree = Rxt4("list RXT4");
  EXPECT_EQ(tree.status, 0);
  EXPECT_EQ(tree.out.substr(0, tree.out.find('\n') + 1), "レベル測定データ\n");
  EXPECT_NE(tree.out.find("\n  0412\n      1:27ch NHK総合\n      2:21ch フジ\n"), std::string::npos);
  EXPECT_NE(tree.out.find("\n     12:スカパー TP8\n"), std::string::npos);
  EXPECT_NE(tree.out.find("\n多チャンネル測定データ\n"), std::string::npos);
  EXPECT_NE(tree.out.find("\n      3:試験:CATV 25ch\n"), std::string::npos);
  EXPECT_EQ(std::count(tree.out.begin(), tree.out.end(), '\n'), 7 + 14 + 55);
}

TEST_F(ListSample, LoaderMessagesGoToStandardErrorOneLineEach) {
  fs::create_directories(dir_ / "D/0412/LEVEL");
  std::ofstream(dir_ / "D/0412/LEVEL/0412.cnt") << "2\n2.00";
  std::ofstream(dir_ / "D/0412/LEVEL/0412.CSV") << "h\n001,a\n";
  fs::create_directories(dir_ / "D/0412/BER");
  std::ofstream(dir_ / "D/0412/BER/0412.cnt") << "1\n2.00";
  Outcome run = Rxt4("list D");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, std::string("D/0412/LEVEL/0412.CSV") +
                         " のデータ数が記録情報と異なります。\\nデータが正常に表示できない可能性があります。\\n"
                         "CSVファイルを確認してください。\n"
                         "ファイルまたはフォルダがありません: D/0412/BER/0412.CSV\n");
  EXPECT_EQ(run.out.substr(0, run.out.find("BER")), "レベル測定データ\n  0412\n      1:a\n");
}

TEST_F(ListSample, UsageAndBadArguments) {
  Outcome help = Rxt4("list --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("使い方: rxt4 list DATA_FOLDER [--summary]\n", 0), 0u);
  EXPECT_EQ(Rxt4("list").status, 2);
  EXPECT_EQ(Rxt4("list a b").status, 2);
  EXPECT_EQ(Rxt4("list . --bogus").status, 2);
  Outcome missing = Rxt4("list no_such_folder");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "rxt4 list: 「no_such_folder」はフォルダではありません\n");
  Outcome empty = Rxt4("list .");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(std::count(empty.out.begin(), empty.out.end(), '\n'), 7);

  EXPECT_EQ(Rxt4("sample --help").status, 0);
  EXPECT_EQ(Rxt4("sample").status, 2);
  EXPECT_EQ(Rxt4("sample a b").status, 2);
  std::ofstream(dir_ / "file") << "x";
  EXPECT_EQ(Rxt4("sample file").status, 1);  // a plain file where the folder should be
}

}  // namespace
