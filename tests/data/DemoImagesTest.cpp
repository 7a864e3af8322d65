#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "TempFolder.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"

namespace rxt4 {
namespace {

using test::TempFolder;

std::uint32_t Le32At(const KindImage& image, std::size_t at) {
  return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | static_cast<std::uint32_t>(image[at + 3]) << 24;
}

TEST(DemoImages, RecordsAreOneRowOfThirtyFieldsEach) {
  for (const DemoSet& set : BuildDemoSets()) {
    for (TransferKind kind : kAllTransferKinds) {
      const KindImage& image = set.images[static_cast<std::size_t>(kind)];
      if (image.empty()) continue;
      SCOPED_TRACE(set.name + " kind " + std::to_string(static_cast<int>(kind)));
      ASSERT_GE(image.size(), 8u);
      EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "2.00");
      std::uint32_t n = Le32At(image, 4);
      std::size_t offset = 8;
      // Multi-channel images count data sets; their records run to the image end.
      for (std::uint32_t i = 0; kind == TransferKind::Multi ? offset < image.size() : i < n; ++i, offset += 180) {
        ASSERT_LE(offset + 180, image.size());
        std::string record(image.begin() + static_cast<long>(offset), image.begin() + static_cast<long>(offset) + 180);
        EXPECT_EQ(record.find('\n'), 179u);
        EXPECT_EQ(std::count(record.begin(), record.end(), ','), 29);
        EXPECT_EQ(record[178], ' ');  // padded inside the last field, nothing was cut
      }
    }
  }
}

TEST(DemoImages, WrittenFolderLoadsWithoutMessages) {
  TempFolder dir;
  ASSERT_TRUE(WriteDemoFolder(dir.path() / "RXT4"));
  DataFolderModel model;
  struct Fail : LoadObserver {
    void FileError(const std::string& m) override { ADD_FAILURE() << m; }
    void CountWarning(const std::string& m) override { ADD_FAILURE() << m; }
  } observer;
  model.Load(dir.path() / "RXT4", observer);
  std::map<TransferKind, std::pair<int, int>> expected = {
      {TransferKind::Level, {2, 16}},  {TransferKind::Ber, {2, 13}},     {TransferKind::Constellation, {2, 6}},
      {TransferKind::Spectrum, {2, 7}}, {TransferKind::Profile, {2, 4}}, {TransferKind::Sky, {2, 5}},
      {TransferKind::Multi, {2, 4}}};
  for (auto [kind, counts] : expected) {
    EXPECT_EQ(model.FolderCount(kind), counts.first) << static_cast<int>(kind);
    EXPECT_EQ(model.MeasurementCountOf(kind), counts.second) << static_cast<int>(kind);
  }
  // The multi-channel data sets of 5, 12 and 25 channels, named in Japanese.
  std::vector<std::size_t> channels;
  for (int number = 1; number <= model.itemCount(); ++number) {
    const CDataSet* r = model.Record(number);
    if (r->kind == DataKind::Multi) channels.push_back(r->rows.size());
    if (r->kind == DataKind::Level && r->index == 1 && r->countText() == "12") {
      EXPECT_EQ(model.Label(number), "  1:東京タワー方向");
    }
  }
  std::sort(channels.begin(), channels.end());
  EXPECT_EQ(channels, (std::vector<std::size_t>{5, 12, 12, 25}));
}

TEST(DemoImages, CompanionFilesHaveTheScreensLayouts) {
  TempFolder dir;
  ASSERT_TRUE(WriteDemoFolder(dir.path()));
  auto size = [&](const char* relative) { return std::filesystem::file_size(dir.path() / relative); };
  EXPECT_EQ(size("0412/CONSTEL/0412.001"), 4825u);
  EXPECT_EQ(size("0412/CONSTEL/0412.004"), 4825u);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "0412/CONSTEL/0412.005"));
  // Spectrum payloads of 234, 216, 468, 1872 and 36 samples; profiles of 2048, 4096, 8192.
  EXPECT_EQ(size("0412/SPECTRUM/0412.001"), 8u + 2 * 234);
  EXPECT_EQ(size("0412/SPECTRUM/0412.004"), 8u + 2 * 1872);
  EXPECT_EQ(size("0412/SPECTRUM/0412.005"), 8u + 2 * 36);
  EXPECT_EQ(size("0412/PROFILE/0412.001"), 8u + 2 * 2048);
  EXPECT_EQ(size("0412/PROFILE/0412.003"), 8u + 2 * 8192);
  std::string profile = test::ReadAll(dir.path() / "0412/PROFILE/0412.001");
  EXPECT_EQ(profile.substr(0, 4), std::string("\x00\x10\x00\x00", 4));  // 4096 payload bytes
  // The main path of the first profile is the 0 dB peak at index 0.
  EXPECT_EQ(profile.substr(8, 2), std::string("\x00\x00", 2));
}

TEST(DemoImages, TheSimulatedInstrumentHoldsEveryKind) {
  const KindImages images = BuildDemoImages();
  for (TransferKind kind : kAllTransferKinds) {
    // The 8-byte header and at least one 180-byte record.
    EXPECT_GE(images[static_cast<std::size_t>(kind)].size(), 8u + 180u) << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace rxt4
