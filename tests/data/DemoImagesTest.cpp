#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "../common/TempFolder.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Sjis.h"

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
      EXPECT_EQ(model.Label(number), "  1:27ch NHK総合");
    }
  }
  std::sort(channels.begin(), channels.end());
  EXPECT_EQ(channels, (std::vector<std::size_t>{5, 12, 12, 25}));
}

// Every row's frequency is its channel's in the Japanese channel plans, the same in
// every table; each set folder has its job record, and the labels name measurements
// that are there.
TEST(DemoImages, ChannelPlansHoldAcrossTablesAndEachSetHasItsJob) {
  TempFolder dir;
  ASSERT_TRUE(WriteDemoFolder(dir.path()));
  DataFolderModel model;
  NullLoadObserver quiet;
  model.Load(dir.path(), quiet);
  auto planned = [](std::string band, std::string channel) -> double {
    band.erase(0, band.find_first_not_of(' '));
    band.erase(band.find_last_not_of(' ') + 1);
    if (band == "UHF") return 473.142857 + 6.0 * (std::stoi(channel) - 13);
    if (band == "VHF" && channel[0] == 'C') {
      const int n = std::stoi(channel.substr(1));
      return n <= 22 ? 111.0 + 6.0 * (n - 13) : 225.0 + 6.0 * (n - 23);
    }
    if (band == "BS" && channel.rfind("BS-", 0) == 0) channel = channel.substr(3);
    if (band == "BS" || band == "BSパススルー") return 1049.48 + 19.18 * (std::stoi(channel) - 1);
    if (band == "N-SAT110") return 1573.0 + 20.0 * std::stoi(channel.substr(2));
    return -1;  // no plan checked (the communications satellites, VHF 1, cable upstream)
  };
  int checked = 0;
  for (int number = 1; number <= model.itemCount(); ++number) {
    const CDataSet* r = model.Record(number);
    if (!r || r->kind == DataKind::None) continue;
    std::vector<MeasurementRow> rows = r->rows;
    if (rows.empty()) rows.push_back(r->row);
    for (const MeasurementRow& row : rows) {
      const std::string band(DecodeSjis(row.Field(2))), channel(row.Field(3)), frequency(row.Field(5));
      if (frequency.empty()) continue;  // SKY rows name no frequency
      const double mhz = planned(band, channel);
      if (mhz < 0) continue;
      EXPECT_NEAR(std::stod(frequency), mhz, 0.006) << band << " " << channel << " " << frequency;
      ++checked;
    }
  }
  EXPECT_GT(checked, 50);

  for (const DemoSet& set : BuildDemoSets()) {
    const JobRecordRead read = ReadJobRecord(dir.path() / set.name);
    EXPECT_FALSE(read.error) << read.error.Text();
    EXPECT_EQ(read.record, set.job);
    EXPECT_FALSE(read.record.title.empty());
    EXPECT_TRUE(IsMeasuredAtText(read.record.measuredAt));
    EXPECT_FALSE(read.record.notes.empty());
    for (const auto& [key, note] : read.record.notes) {
      const int kindRoot = DataFolderModel::RootNumber(key.kind);
      int found = 0;
      for (int f = 0; f < model.ChildCount(kindRoot); ++f) {
        const int folder = model.ChildAt(kindRoot, f);
        if (model.Label(folder) != set.name) continue;
        found = key.number <= model.ChildCount(folder) ? 1 : 0;
      }
      EXPECT_EQ(found, 1) << set.name << " " << KindFolderName(key.kind) << ":" << key.number;
    }
  }
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
