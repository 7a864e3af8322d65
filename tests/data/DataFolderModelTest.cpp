#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

using test::TempFolder;

struct Recorder : LoadObserver {
  std::vector<std::string> messages;  // "E:" file errors, "W:" count warnings, in order
  void FileError(const std::string& m) override { messages.push_back("E:" + m); }
  void CountWarning(const std::string& m) override { messages.push_back("W:" + m); }
};

// A table line: column 0, column 1 (data name), column 19 and empty others.
std::string Line(const std::string& no, const std::string& name, const std::string& count = "") {
  std::string line = no + "," + name;
  for (int c = 2; c < 30; ++c) line += "," + (c == 19 ? count : std::string());
  return line + "\n";
}

const std::string kHeader = "No.,name\n";
const std::string kWarning = " のデータ数が記録情報と異なります。\nデータが正常に表示できない可能性があります。\nCSVファイルを確認してください。";

// The tree below the top item as indented labels, one item per line with its number.
std::string Dump(const DataFolderModel& model, int number = 0, int depth = 0) {
  std::string text;
  for (int i = 0; i < model.ChildCount(number); ++i) {
    int child = model.ChildAt(number, i);
    EXPECT_EQ(model.Parent(child), number);
    EXPECT_EQ(model.RowInParent(child), i);
    text += std::string(depth * 2, ' ') + std::to_string(child) + " " + model.Label(child) + "\n";
    text += Dump(model, child, depth + 1);
  }
  return text;
}

constexpr const char* kEmptyRoots =
    "1 レベル測定データ\n2 BER測定データ\n3 コンスタレーションデータ\n4 スペクトラムデータ\n"
    "5 遅延プロファイルデータ\n6 スカパー測定データ\n7 多チャンネル測定データ\n";

TEST(DataFolderModel, LevelSetGivesFolderAndNumberedItems) {
  TempFolder dir;
  dir.Put("0412/LEVEL/0412.cnt", "3\n2.00");
  dir.Put("0412/LEVEL/0412.CSV", kHeader + Line("0001", "ABC") + Line("0002", "\x83\x8C\x83\x78\x83\x8B") + Line("0003", ""));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(Dump(model),
            "1 レベル測定データ\n  8 0412\n    9   1:ABC\n    10   2:レベル\n    11   3:\n"
            "2 BER測定データ\n3 コンスタレーションデータ\n4 スペクトラムデータ\n"
            "5 遅延プロファイルデータ\n6 スカパー測定データ\n7 多チャンネル測定データ\n");
  EXPECT_EQ(model.LabelSjis(10), "  2:\x83\x8C\x83\x78\x83\x8B");
  const CDataSet* second = model.Record(10);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->kind, DataKind::Level);
  EXPECT_EQ(second->indexText(), "2");
  EXPECT_EQ(second->countText(), "3");
  EXPECT_EQ(second->tablePath(), (dir.path() / "0412/LEVEL/0412.CSV").string());
  EXPECT_EQ(second->companionBase(), (dir.path() / "0412/LEVEL/0412.").string());
  EXPECT_EQ(second->row.Field(0), "0002");
  EXPECT_EQ(model.Kind(8), DataKind::None);
  EXPECT_EQ(model.Record(8)->indexText(), "");
  EXPECT_EQ(model.Kind(1), DataKind::None);
  EXPECT_EQ(model.Record(12), nullptr);
  EXPECT_EQ(model.Record(0), nullptr);
  EXPECT_EQ(model.measurementCount(), 3);
  EXPECT_EQ(model.MeasurementCountOf(TransferKind::Level), 3);
  EXPECT_EQ(model.FolderCount(TransferKind::Level), 1);

  // Reloading gives the same tree and numbers.
  std::string first = Dump(model);
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model), first);
}

TEST(DataFolderModel, CountMismatchWarnsAndKeepsTheRowsRead) {
  TempFolder dir;
  dir.Put("0412/LEVEL/0412.cnt", "4\n2.00");
  dir.Put("0412/LEVEL/0412.CSV", kHeader + Line("1", "a") + Line("2", "b") + Line("3", "c"));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "W:" + (dir.path() / "0412/LEVEL/0412.CSV").string() + kWarning);
  EXPECT_EQ(model.ChildCount(model.ChildAt(1, 0)), 3);
  EXPECT_EQ(model.Record(9)->countText(), "3");  // the rows actually read
}

TEST(DataFolderModel, SkipsKindFoldersWithoutUsableCountOrTable) {
  TempFolder dir;
  dir.Put("A/LEVEL/A.cnt", "2\n2.00");  // count file but no table: one file error
  dir.Put("A/BER/A.cnt", "1\n2.01");    // wrong version: skipped silently
  dir.Put("A/BER/A.CSV", kHeader + Line("1", "x"));
  dir.Put("A/SKY/A.CSV", kHeader + Line("1", "x"));  // no count file: skipped silently
  dir.Put("A/CONSTEL/A.cnt", "0\n2.00");             // no rows: nothing, no message
  dir.Put("A/CONSTEL/A.CSV", kHeader);
  dir.Put("A/SPECTRUM/A.cnt", "1\r\n2.00\r\n");  // CR LF count file fails the version test
  dir.Put("A/SPECTRUM/A.CSV", kHeader + Line("1", "x"));
  std::filesystem::create_directories(dir.path() / "A/PROFILE/A.cnt");  // opens, cannot be read
  dir.Put("A/PROFILE/A.CSV", kHeader + Line("1", "x"));
  dir.Put("plain.txt", "not a set folder");
  std::filesystem::create_directories(dir.path() / "EMPTY/OTHER");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 2u);
  EXPECT_EQ(observer.messages[0], "E:No such file or directory: " + (dir.path() / "A/LEVEL/A.CSV").string());
  EXPECT_EQ(observer.messages[1], "E:Is a directory: " + (dir.path() / "A/PROFILE/A.cnt").string());
  EXPECT_EQ(Dump(model), kEmptyRoots);
}

TEST(DataFolderModel, MultiChannelStopsAtTheFirstTableWithoutRows) {
  TempFolder dir;
  dir.Put("M/MULTI/COUNT.CNT", "3\n2.00");
  dir.Put("M/MULTI/01.CSV", kHeader + Line("00101", "chA", "2") + Line("00102", "chB", "2"));
  // 02.CSV is missing; 03.CSV is a folder, which would give a second error if read.
  std::filesystem::create_directories(dir.path() / "M/MULTI/03.CSV");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "E:No such file or directory: " + (dir.path() / "M/MULTI/02.CSV").string());
  EXPECT_EQ(Dump(model, 7), "8 M\n  9   1:chA\n");
  const CDataSet* set = model.Record(9);
  EXPECT_EQ(set->kind, DataKind::Multi);
  EXPECT_EQ(set->indexText(), "1");
  EXPECT_EQ(set->countText(), "3");  // COUNT.CNT's text as stored
  EXPECT_EQ(set->rows.size(), 2u);
  EXPECT_TRUE(set->row.absent());
}

TEST(DataFolderModel, MultiChannelFolderItemComesBeforeItsTables) {
  TempFolder dir;
  dir.Put("M/MULTI/count.cnt", " 02abc\n2.00");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model, 7), "8 M\n");
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0].substr(0, 2), "E:");
}

TEST(DataFolderModel, MultiChannelCountWarningAndRowKeys) {
  TempFolder dir;
  dir.Put("M/MULTI/COUNT.CNT", "1\n2.00");
  std::string table = kHeader + Line("00101", "five", "4");
  for (int i = 2; i <= 5; ++i) table += Line("0010" + std::to_string(i), "r" + std::to_string(i));
  dir.Put("M/MULTI/01.CSV", table);
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "W:" + (dir.path() / "M/MULTI/01.CSV").string() + kWarning);
  const CDataSet* set = model.Record(9);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->rows.size(), 5u);
  EXPECT_EQ(set->RowByKey("1").Field(1), "five");
  EXPECT_EQ(set->RowByKey("5").Field(0), "00105");
  EXPECT_TRUE(set->RowByKey("6").absent());
  EXPECT_TRUE(set->RowByKey("0").absent());
  EXPECT_TRUE(set->RowByKey("01").absent());
  EXPECT_EQ(model.Label(9), "  1:five");
}

TEST(DataFolderModel, NumbersFollowLoadOrderAcrossKinds) {
  TempFolder dir;
  // Kind folders in assorted letter case; file names in the other case.
  dir.Put("S/profile/S.CNT", "1\n2.00");
  dir.Put("S/profile/s.csv", kHeader + Line("001", "prof"));
  dir.Put("S/Multi/COUNT.cnt", "1\n2.00");
  dir.Put("S/Multi/01.csv", kHeader + Line("00101", "multi", "1"));
  dir.Put("S/BER/S.cnt", "1\n2.00");
  dir.Put("S/BER/S.CSV", kHeader + Line("001", "ber"));
  dir.Put("S/LEVEL/S.cnt", "2\n2.00");
  dir.Put("S/LEVEL/S.CSV", kHeader + Line("001", "lv1") + Line("002", "lv2") + "*\n" + Line("003", "after end"));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_TRUE(observer.messages.empty());
  // Loader order: LEVEL, BER, SKY, CONSTEL, MULTI, SPECTRUM, PROFILE.
  EXPECT_EQ(Dump(model),
            "1 レベル測定データ\n  8 S\n    9   1:lv1\n    10   2:lv2\n"
            "2 BER測定データ\n  11 S\n    12   1:ber\n"
            "3 コンスタレーションデータ\n4 スペクトラムデータ\n"
            "5 遅延プロファイルデータ\n  15 S\n    16   1:prof\n"
            "6 スカパー測定データ\n7 多チャンネル測定データ\n  13 S\n    14   1:multi\n");
  EXPECT_EQ(model.Record(16)->kind, DataKind::Profile);
  EXPECT_EQ(model.Record(16)->tablePath(), (dir.path() / "S/profile/s.csv").string());
  EXPECT_EQ(model.Record(14)->tablePath(), (dir.path() / "S/Multi/01.csv").string());
}

TEST(DataFolderModel, MissingAndEmptyDataFoldersGiveTheRootsOnly) {
  DataFolderModel model;
  EXPECT_EQ(model.RootCount(), 0);
  Recorder observer;
  TempFolder dir;
  model.Load(dir.path() / "missing", observer);
  EXPECT_EQ(Dump(model), kEmptyRoots);
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model), kEmptyRoots);
  model.Load("", observer);  // the root of the file system: looked at, normally nothing there
  EXPECT_EQ(model.RootCount(), 7);
  EXPECT_EQ(model.Label(7), "多チャンネル測定データ");
  EXPECT_TRUE(observer.messages.empty());
}

}  // namespace
}  // namespace rxt4
