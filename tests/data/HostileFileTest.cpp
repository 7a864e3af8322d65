// Files in a data folder that are no regular files, or far too large, are refused
// before a byte is read, with the file error naming the reason.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/HostileFiles.h"
#include "../common/TempFolder.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/DataFolderModel.h"

namespace rxt4 {
namespace {

using test::Hostile;
using test::TempFolder;

const std::string kTable = "No.,name\n001,one\n";

}  // namespace

void PrintTo(const LoadMessage& m, std::ostream* os) {
  *os << (m.kind == LoadMessage::Kind::FileError ? "E:" : "W:") << m.text;
}

namespace {

TEST(HostileFiles, TablesAndCountFilesAreRefusedUnread) {
  for (Hostile kind : test::kHostileFiles) {
    SCOPED_TRACE(test::HostileName(kind));
    TempFolder dir;
    const std::string reason = test::HostileReason(kind) + ": ";

    CsvTable table;
    const auto tablePath = test::MakeHostile(kind, dir.path() / "t.CSV");
    EXPECT_EQ(table.Read(tablePath), -1);
    EXPECT_EQ(table.errorMessage(), reason + tablePath.string());
    CountFile count;
    const auto countPath = test::MakeHostile(kind, dir.path() / "c.CNT");
    EXPECT_EQ(count.Read(countPath), -1);
    EXPECT_TRUE(count.readFailed());
    EXPECT_EQ(count.errorMessage(), reason + countPath.string());

    // In a data folder: the kinds they belong to are skipped with the file error.
    const auto data = dir.path() / "RXT4";
    dir.Put("RXT4/A/LEVEL/A.CSV", kTable);
    const auto levelCount = test::MakeHostile(kind, data / "A/LEVEL/A.CNT");
    dir.Put("RXT4/A/BER/A.CNT", "1\n2.00");
    const auto berTable = test::MakeHostile(kind, data / "A/BER/A.CSV");
    dir.Put("RXT4/A/MULTI/COUNT.CNT", "3\n2.00");
    dir.Put("RXT4/A/MULTI/01.CSV", "h\n00101,m" + std::string(18, ',') + "1\n");
    const auto multiTable = test::MakeHostile(kind, data / "A/MULTI/02.CSV");
    dir.Put("RXT4/A/MULTI/03.CSV", "h\n00301,m\n");
    for (bool batched : {false, true}) {
      DataFolderModel model;
      std::vector<LoadMessage> messages;
      ASSERT_TRUE(model.Load(data, messages, LoadOptions{1, batched}));
      const std::vector<LoadMessage> expected = {
          {LoadMessage::Kind::FileError, reason + levelCount.string()},
          {LoadMessage::Kind::FileError, reason + berTable.string()},
          {LoadMessage::Kind::FileError, reason + multiTable.string()},
      };
      EXPECT_EQ(messages, expected);
      EXPECT_EQ(model.FolderCount(TransferKind::Level), 0);
      EXPECT_EQ(model.FolderCount(TransferKind::Ber), 0);
      EXPECT_EQ(model.MeasurementCountOf(TransferKind::Multi), 1);
    }
  }
}

TEST(HostileFiles, ACountFileOneByteOverItsBoundIsTooLarge) {
  TempFolder dir;
  CountFile count;
  EXPECT_EQ(count.Read(dir.Put("ok.CNT", "5\n2.00" + std::string(CountFile::kMaxFileBytes - 6, '\n'))), 0);
  EXPECT_EQ(count.countText(), "5");
  const auto big = dir.Put("big.CNT", std::string(CountFile::kMaxFileBytes + 1, '\n'));
  EXPECT_EQ(count.Read(big), -1);
  EXPECT_EQ(count.errorMessage(), std::string(Text(StringId::ErrnoTooLarge)) + ": " + big.string());
}

}  // namespace
}  // namespace rxt4
