// rxt4 download against the simulator: exit statuses, final texts, Ctrl+C.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "rxt4/data/JobRecord.h"
#include "SimProcess.h"
#include "rxt4/data/DownloadFolder.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

class DownloadCommandTest : public ::testing::Test {
 protected:
  DownloadCommandTest()
      : temp(::testing::UnitTest::GetInstance()->current_test_info()->name()), settings(temp.path() / "cfg") {}

  std::vector<std::string> Download(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"download"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }
  Outcome Run(const std::vector<std::string>& args) { return Rxt4Process(temp.path(), Download(args)).Finish(); }

  TempFolder temp;
  PrivateSettings settings;
};

TEST_F(DownloadCommandTest, UsageAndBadArguments) {
  Outcome help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("使い方: rxt4 download [--port PORT] --out SET_FOLDER"), std::string::npos);
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"--port", "/dev/null"}).status, 2);
  EXPECT_EQ(Run({"--port", "x", "--out", "y", "--baud", "fast"}).status, 2);
  EXPECT_EQ(Run({"--port", "x", "--out", "y", "--colour"}).status, 2);
}

TEST_F(DownloadCommandTest, DownloadsTwiceOverOneLineAndFailsOnAMissingPort) {
  SimProcess sim(temp.path(), {});
  ASSERT_TRUE(sim.ready());
  const fs::path set = temp.path() / "new" / "folder" / "SET";
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The second over the first: the set folder holds measurements now.
    std::vector<std::string> args = {"--port", sim.port(), "--out", set.string(), "--baud", "9600"};
    if (attempt == 1) args.push_back("--force");
    Outcome r = Run(args);
    EXPECT_EQ(r.status, 0) << attempt;
    EXPECT_EQ(r.out, "データ転送が完了しました。\n");
  }
  EXPECT_TRUE(fs::exists(set / "LEVEL" / "SET.CNT"));
  // The download stamped its job record.
  const JobRecordRead record = ReadJobRecord(set);
  EXPECT_FALSE(record.error) << record.error.Text();
  EXPECT_TRUE(IsMeasuredAtText(record.record.measuredAt)) << record.record.measuredAt;
  EXPECT_EQ(record.record.instrument.model, "RXT4");

  Outcome missing =
      Run({"--port", (temp.path() / "nothing").string(), "--out", set.string(), "--baud", "9600", "--force"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "通信に失敗しました。\nRXT4との接続を確認してください。\n");
}

// A folder that takes no files is a saving failure, with the folder and the reason in
// words beneath it; a set folder another download holds is refused the same way.
TEST_F(DownloadCommandTest, SetFolderThatTakesNoFilesIsNamedWithTheReason) {
  SimProcess sim(temp.path(), {});
  ASSERT_TRUE(sim.ready());
  std::ofstream(temp.path() / "file") << "x";
  fs::create_directories(temp.path() / "SET");
  std::ofstream(temp.path() / "SET" / "LEVEL") << "x";
  fs::create_directories(temp.path() / "HELD");
  DownloadFolder held;
  ASSERT_TRUE(held.Open(temp.path() / "HELD"));
  const std::string failed = "データを保存できませんでした。\n";
  const struct {
    fs::path out;
    std::string text;
  } cases[] = {
      {temp.path() / "file" / "SET",
       failed + "保存先のフォルダに書き込めません: " + (temp.path() / "file" / "SET").string() + "（フォルダではありません）\n"},
      {temp.path() / "SET",
       failed + "保存先のフォルダに書き込めません: " + (temp.path() / "SET" / "LEVEL").string() + "（同じ名前のファイルがあります）\n"},
      {temp.path() / "HELD",
       failed + "保存先のフォルダには別のデータ転送が書き込んでいます: " + (temp.path() / "HELD").string() + "\n"},
  };
  for (const auto& c : cases) {
    Outcome r = Run({"--port", sim.port(), "--out", c.out.string(), "--baud", "9600"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, c.text);
  }
  EXPECT_FALSE(fs::exists(temp.path() / "HELD" / "LEVEL"));
}

TEST_F(DownloadCommandTest, CtrlCCancels) {
  // The instrument never enters transfer mode: only the user's cancel ends the job.
  SimProcess sim(temp.path(), {"--mode-wait", "100000"});
  ASSERT_TRUE(sim.ready());
  Rxt4Process rxt4(temp.path(), Download({"--port", sim.port(), "--out", (temp.path() / "SET").string(), "--baud", "9600"}));
  ASSERT_TRUE(rxt4.started());
  // It reports the mode wait once its handler is installed.
  ASSERT_TRUE(rxt4.WaitForError("RXT4をデータ転送モードに設定して下さい。"));
  rxt4.Interrupt();
  Outcome r = rxt4.Finish();
  EXPECT_EQ(r.status, 130);
  EXPECT_EQ(r.out, "データ転送を中止しました。\n");
}

}  // namespace
}  // namespace rxt4::test
