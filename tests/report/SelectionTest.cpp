// The measurements a report or an export covers, in the tree's order.

#include <gtest/gtest.h>

#include <unistd.h>

#include "../common/TempFolder.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;

// A set folder holding one level measurement.
void WriteLevelSet(const fs::path& setFolder) {
  fs::create_directories(setFolder);
  std::string record = "0001,A";
  record.resize(DataSetWriter::kRecordBytes - 1, ' ');
  const KindImage image = AssembleKindImage(1, {record + '\n'});
  DataSetWriter writer;
  writer.SelectKind(TransferKind::Level);
  ASSERT_TRUE(writer.PrepareFolder(setFolder));
  ASSERT_TRUE(writer.Allocate(static_cast<std::uint32_t>(image.size())));
  writer.Append(image.data(), image.size());
  ASSERT_TRUE(writer.Write());
}

TEST(MeasurementSelection, SetFoldersInTheLoadersOrder) {
  const rxt4::test::TempFolder folder("selection");
  const fs::path dir = folder.path();
  for (const char* name : {"10", "2", "9"}) WriteLevelSet(dir / name);
  fs::create_directories(dir / "5");  // no measurements
  DataFolderModel model;
  NullLoadObserver quiet;
  model.Load(dir, quiet);

  // Digits as numbers, as the tree shows them (byte order would put "10" first).
  const MeasurementSelection all = SelectMeasurements(model, dir);
  EXPECT_EQ(all.setFolders, (std::vector<std::string>{"2", "9", "10"}));
  ASSERT_EQ(all.measurements.size(), 3u);
  EXPECT_EQ(all.measurements.front().setFolder, "2");
  // Named ones in the same order, one without measurements among them.
  const MeasurementSelection named = SelectMeasurements(model, dir, {"10", "5"});
  EXPECT_EQ(named.setFolders, (std::vector<std::string>{"5", "10"}));
  EXPECT_EQ(named.measurements.size(), 1u);
}

}  // namespace
}  // namespace rxt4
