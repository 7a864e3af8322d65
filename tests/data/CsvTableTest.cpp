#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"

namespace rxt4 {
namespace {

using test::TempFolder;

TEST(CsvTable, SkipsHeaderAndDropsALastLineWithoutLineFeed) {
  CsvTable table;
  EXPECT_EQ(table.Parse("No.,name\n001,A\n002,B\n003,C"), 2);
  EXPECT_EQ(table.Row(0).Field(1), "A");
  EXPECT_EQ(table.Row(1).Field(0), "002");
  EXPECT_TRUE(table.Row(2).absent());
  EXPECT_TRUE(table.Row(-1).absent());
}

TEST(CsvTable, EndRowAndEmptyLines) {
  CsvTable table;
  // The "*" row ends the table; the data line after it is not read.
  EXPECT_EQ(table.Parse("h\n001,A\n*\n002,B\n"), 1);
  EXPECT_EQ(table.Parse("h\n001,A\n*END,x\n"), 1);
  // A "*" that is not at the start of the first field is data.
  EXPECT_EQ(table.Parse("h\n001,*\n"), 1);
  // A lone line feed is a row of empty fields.
  ASSERT_EQ(table.Parse("h\n\n001,A\n"), 2);
  EXPECT_FALSE(table.Row(0).absent());
  EXPECT_EQ(table.Row(0).Field(0), "");
  EXPECT_EQ(table.Row(0).Field(1), "");
}

TEST(CsvTable, HeaderWithoutLineFeedReadsAsNoTable) {
  CsvTable table;
  EXPECT_EQ(table.Parse("No.,name"), -1);
  EXPECT_EQ(table.Parse(""), -1);
  EXPECT_EQ(table.Parse("header only\n"), 0);
}

TEST(CsvTable, KeepsCarriageReturnsAndSplitsAtEveryComma) {
  CsvTable table;
  ASSERT_EQ(table.Parse("h\r\n001,A,B\r\n"), 1);
  EXPECT_EQ(table.Row(0).Field(2), "B\r");
  std::string many = "h\n";
  for (int i = 0; i < 35; ++i) many += (i ? "," : "") + std::to_string(i);
  many += "\n0,1,2\n";
  ASSERT_EQ(table.Parse(many), 2);
  EXPECT_EQ(table.Row(0).Field(29), "29");  // fields beyond the 30th are ignored
  EXPECT_EQ(table.Row(0).Field(30), "");
  EXPECT_EQ(table.Row(1).Field(2), "2");
  EXPECT_EQ(table.Row(1).Field(3), "");  // missing trailing fields are empty
  EXPECT_EQ(table.Row(1).Field(29), "");
  // Fields() splits the same way in one pass.
  EXPECT_EQ(table.Row(0).Fields()[29], "29");
  EXPECT_EQ(table.Row(1).Fields()[2], "2");
  EXPECT_EQ(table.Row(1).Fields()[3], "");
  ASSERT_EQ(table.Parse("h\r\n001,A,B\r\n"), 1);
  EXPECT_EQ(table.Row(0).Fields()[2], "B\r");
}

TEST(CsvTable, ReadsFilesAndReportsTheFileError) {
  TempFolder dir;
  CsvTable table;
  EXPECT_EQ(table.Read(dir.Put("t.CSV", "h\n1,a\n2,b\n")), 2);
  EXPECT_EQ(table.errorMessage(), "");
  EXPECT_EQ(table.Row(1).Field(1), "b");

  EXPECT_EQ(table.Read(dir.path() / "missing.CSV"), -1);
  EXPECT_EQ(table.errorMessage(), "ファイルまたはフォルダがありません: " + (dir.path() / "missing.CSV").string());
  EXPECT_EQ(table.rowCount(), 0);

  // A folder opens but cannot be read: a read failure.
  std::filesystem::create_directories(dir.path() / "dir.CSV");
  EXPECT_EQ(table.Read(dir.path() / "dir.CSV"), -1);
  EXPECT_EQ(table.errorMessage(), "フォルダです: " + (dir.path() / "dir.CSV").string());
}

TEST(CountFile, ReadsCountAndVersionWithDefaults) {
  CountFile count;
  count.Parse("5\n2.00");
  EXPECT_EQ(count.countText(), "5");
  EXPECT_TRUE(count.versionValid());
  count.Parse("5\n2.00\n");  // the same with a line feed after the version
  EXPECT_EQ(count.versionText(), "2.00");
  count.Parse("5\n");  // no version line
  EXPECT_EQ(count.countText(), "5");
  EXPECT_EQ(count.versionText(), "****");
  EXPECT_FALSE(count.versionValid());
  count.Parse("");
  EXPECT_EQ(count.countText(), "-1");
  count.Parse("5\r\n2.00\r\n");  // written with CR LF: the version fails
  EXPECT_EQ(count.versionText(), "2.00\r");
  EXPECT_FALSE(count.versionValid());
  count.Parse("1,7\nx,2.00\n9\n3.00\n");  // the last field of a line wins; further lines ignored
  EXPECT_EQ(count.countText(), "7");
  EXPECT_EQ(count.versionText(), "2.00");
  count.Parse("4\n\n");  // an empty second line is an empty version
  EXPECT_EQ(count.versionText(), "");
}

TEST(CountFile, ReadsFilesAndTellsOpenFromReadFailures) {
  TempFolder dir;
  CountFile count;
  EXPECT_EQ(count.Read(dir.Put("a.CNT", "12\n2.00")), 0);
  EXPECT_EQ(count.countText(), "12");
  EXPECT_EQ(count.Read(dir.path() / "none.cnt"), -1);
  EXPECT_FALSE(count.readFailed());
  std::filesystem::create_directories(dir.path() / "d.cnt");
  EXPECT_EQ(count.Read(dir.path() / "d.cnt"), -1);
  EXPECT_TRUE(count.readFailed());
}

}  // namespace
}  // namespace rxt4
