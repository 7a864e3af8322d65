// rxt4 render, run as the built program over the demonstration data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../common/RunRxt4.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(RXT4_BIN_DIR "/rxt4")) GTEST_SKIP() << "rxt4 is not built";
  }

  int Rxt4(const std::string& args) { return test::RunRxt4(dir_, args).status; }
  static std::string Read(const fs::path& p) { return test::ReadAll(p); }

  test::TempFolder folder_{"render"};
  fs::path dir_ = folder_.path();
};

TEST_F(RenderCommand, WritesOneImageAsTheViewerShowsIt) {
  ASSERT_TRUE(WriteDemoFolder(dir_ / "RXT4"));
  ASSERT_EQ(Rxt4("render RXT4 --out out --format bmp"), 0) << Read(dir_ / "err.txt");
  EXPECT_EQ(Read(dir_ / "out.txt"), "");

  DataFolderModel model;
  NullLoadObserver quiet;
  model.Load(dir_ / "RXT4", quiet);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir_ / "out"))
    files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, model.measurementCount());

  // The first level measurement of set 0412, painted here with the same font.
  const fs::path file = dir_ / "out" / "0412" / "LEVEL" / "001.bmp";
  ASSERT_TRUE(fs::exists(file));
  const std::string bytes = Read(file);
  ASSERT_EQ(bytes.size(), 54u + 964u * 240u);
  const int root = DataFolderModel::RootNumber(TransferKind::Level);
  int set = 0;
  for (int f = 0; f < model.ChildCount(root); ++f)
    if (model.Label(model.ChildAt(root, f)) == "0412") set = model.ChildAt(root, f);
  ASSERT_NE(set, 0);
  ScreenSet screens(FontSet::CreateDefault());
  screens.Select(*model.Record(model.ChildAt(set, 0)));
  Surface surface;
  screens.Paint(surface);
  const std::vector<std::uint8_t> expected = EncodeBitmapFile(surface.View(), 24);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())));
  // The top-left pixel is the frame: black, stored in the last row.
  EXPECT_EQ(bytes[54 + 964 * 239], 0);
  EXPECT_TRUE(fs::exists(dir_ / "out" / "0413" / "SPECTRUM" / "002.bmp"));
}

// A companion file that gives no graph is named once; an image that cannot be written
// fails the command (status 1) with its path, leaving nothing under a temporary name.
TEST_F(RenderCommand, UnreadableCompanionsAreNamedOnceAndWriteErrorsFail) {
  ASSERT_TRUE(WriteDemoFolder(dir_ / "RXT4"));
  fs::resize_file(dir_ / "RXT4/0413/SPECTRUM/0413.002", 3);  // shorter than its header
  ASSERT_EQ(Rxt4("render RXT4 --out out --keys RIGHT,LEFT"), 0) << Read(dir_ / "err.txt");
  const std::string err = Read(dir_ / "err.txt");
  EXPECT_EQ(err, "rxt4 render: RXT4/0413/SPECTRUM/0413.002: 付属ファイルがないか壊れているため、グラフを載せていません\n");

  fs::remove_all(dir_ / "out");
  fs::create_directories(dir_ / "out/0412/LEVEL/001.png");  // a folder where the first image goes
  EXPECT_EQ(Rxt4("render RXT4 --out out"), 1);
  EXPECT_EQ(Read(dir_ / "err.txt"), "rxt4 render: out/0412/LEVEL/001.png に書き込めません: フォルダです\n");
  for (const auto& entry : fs::recursive_directory_iterator(dir_ / "out"))
    EXPECT_EQ(entry.path().extension(), entry.is_directory() ? entry.path().extension() : ".png") << entry.path();
}

TEST_F(RenderCommand, BadArgumentsAndFolders) {
  EXPECT_EQ(Rxt4("render missing --out out"), 2);
  EXPECT_NE(Read(dir_ / "err.txt").find("「missing」はフォルダではありません"), std::string::npos);
  fs::create_directories(dir_ / "empty");
  EXPECT_EQ(Rxt4("render empty"), 2);
  EXPECT_EQ(Rxt4("render empty --out out --format gif"), 2);
  std::ofstream(dir_ / "blocker") << "x";
  EXPECT_EQ(Rxt4("render empty --out blocker/sub"), 1);  // a write error, as in every command
  EXPECT_NE(Read(dir_ / "err.txt").find("出力フォルダ"), std::string::npos);
  EXPECT_EQ(Rxt4("render --help"), 0);
  EXPECT_NE(Read(dir_ / "out.txt").find("使い方: rxt4 render"), std::string::npos);
  // An empty data folder renders nothing and succeeds.
  EXPECT_EQ(Rxt4("render empty --out out"), 0);
}

}  // namespace
}  // namespace rxt4
