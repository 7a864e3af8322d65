#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/DemoImages.h"

namespace rxt4 {
namespace {

using test::ReadAll;
using test::TempFolder;
namespace fs = std::filesystem;

// Image bytes: "2.00", N little-endian, then the given payload.
std::string Image(std::uint32_t n, const std::string& payload, const char* version = "2.00") {
  std::string image(version, 4);
  for (int i = 0; i < 4; ++i) image += static_cast<char>((n >> (8 * i)) & 0xFF);
  return image + payload;
}

// A 180-byte record whose text starts with prefix, blank-padded, ending with LF.
std::string Record(const std::string& prefix) {
  std::string record = prefix;
  record.resize(179, ' ');
  return record + "\n";
}

std::string Le32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

bool WriteImage(const fs::path& setFolder, TransferKind kind, const std::string& image) {
  DataSetWriter writer;
  writer.SelectKind(kind);
  if (!writer.PrepareFolder(setFolder)) return false;
  if (!writer.Allocate(static_cast<std::uint32_t>(image.size()))) return false;
  writer.Append(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  return writer.Write();
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The header line: the titles in Shift-JIS ("データ名" ... "補正値２").
constexpr const char* kHeaderStart = "No.,\x83\x66\x81\x5B\x83\x5E\x96\xBC,";
constexpr const char* kHeaderEnd = ",\x95\xE2\x90\xB3\x92\x6C\x82\x51\n";

TEST(DataSetWriter, LevelImageGivesTableAndCountFile) {
  TempFolder dir;
  fs::path set = dir.path() / "0412";
  fs::create_directories(set);
  std::string records = Record("0001,A") + Record("0002,B");
  ASSERT_TRUE(WriteImage(set, TransferKind::Level, Image(2, records)));
  std::string table = ReadAll(set / "LEVEL/0412.CSV");
  std::size_t headerEnd = table.find('\n') + 1;
  EXPECT_EQ(table.substr(0, 13), kHeaderStart);
  EXPECT_EQ(table.substr(headerEnd - 10, 10), kHeaderEnd);
  EXPECT_EQ(std::count(table.begin(), table.begin() + static_cast<long>(headerEnd), ','), 29);
  EXPECT_EQ(table.substr(headerEnd), records);
  EXPECT_EQ(ReadAll(set / "LEVEL/0412.CNT"), "2\n2.00");
  EXPECT_EQ(Names(set / "LEVEL"), (std::vector<std::string>{"0412.CNT", "0412.CSV"}));
}

TEST(DataSetWriter, ShortOrForeignImageWritesNothingAndKeepsTheEarlierCopy) {
  TempFolder dir;
  fs::path set = dir.path() / "F";
  fs::create_directories(set);
  std::string records = Record("0001,A") + Record("0002,B");
  EXPECT_FALSE(WriteImage(set, TransferKind::Ber, Image(3, records)));  // announces 3, holds 2
  EXPECT_EQ(Names(set / "BER"), std::vector<std::string>{});
  EXPECT_FALSE(WriteImage(set, TransferKind::Ber, Image(2, records, "1.00")));
  EXPECT_FALSE(WriteImage(set, TransferKind::Ber, "2.0"));
  EXPECT_EQ(Names(set / "BER"), std::vector<std::string>{});

  ASSERT_TRUE(WriteImage(set, TransferKind::Ber, Image(2, records)));
  const std::string good = ReadAll(set / "BER/F.CSV");
  EXPECT_FALSE(WriteImage(set, TransferKind::Ber, Image(3, records)));
  EXPECT_EQ(ReadAll(set / "BER/F.CSV"), good);
  EXPECT_EQ(ReadAll(set / "BER/F.CNT"), "2\n2.00");
  EXPECT_EQ(Names(set / "BER"), (std::vector<std::string>{"F.CNT", "F.CSV"}));  // no temporary files left
}

TEST(DataSetWriter, ConstellationWritesWholeBlocksOnly) {
  TempFolder dir;
  fs::path set = dir.path() / "C";
  fs::create_directories(set);
  std::string blocks(std::string(4825, '\x11') + std::string(4825, '\x22') + std::string(50, '\x33'));
  ASSERT_TRUE(WriteImage(set, TransferKind::Constellation, Image(2, Record("001") + Record("002") + blocks)));
  EXPECT_EQ(Names(set / "CONSTEL"), (std::vector<std::string>{"C.001", "C.002", "C.CNT", "C.CSV"}));
  EXPECT_EQ(ReadAll(set / "CONSTEL/C.001"), std::string(4825, '\x11'));
  EXPECT_EQ(ReadAll(set / "CONSTEL/C.002"), std::string(4825, '\x22'));
}

// A cancel does not wait for a kind's companion files (each is flushed to the disk):
// the writing stops before the next file, and the kind leaves nothing.
TEST(DataSetWriter, ARaisedAbortStopsTheWritingAndLeavesNothing) {
  TempFolder dir;
  fs::path set = dir.path() / "C";
  fs::create_directories(set);
  const std::string image = Image(1, Record("001") + std::string(3 * 4825, '\x11'));
  std::atomic<bool> abort{true};
  DataSetWriter writer;
  writer.SelectKind(TransferKind::Constellation);
  writer.SetAbortFlag(&abort);
  ASSERT_TRUE(writer.PrepareFolder(set));
  ASSERT_TRUE(writer.Allocate(static_cast<std::uint32_t>(image.size())));
  writer.Append(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  EXPECT_FALSE(writer.Write());
  EXPECT_EQ(Names(set / "CONSTEL"), std::vector<std::string>{});
  abort = false;
  EXPECT_TRUE(writer.Write());
  EXPECT_EQ(Names(set / "CONSTEL"), (std::vector<std::string>{"C.001", "C.002", "C.003", "C.CNT", "C.CSV"}));
}

TEST(DataSetWriter, LengthPrefixedBlocks) {
  TempFolder dir;
  fs::path set = dir.path() / "S";
  fs::create_directories(set);
  std::string block1 = Le32(4) + "WORD" + "\x01\x02\x03\x04";
  std::string block2 = Le32(0) + "wd02";
  ASSERT_TRUE(WriteImage(set, TransferKind::Spectrum, Image(1, Record("001") + block1 + block2)));
  EXPECT_EQ(ReadAll(set / "SPECTRUM/S.001"), block1);
  EXPECT_EQ(ReadAll(set / "SPECTRUM/S.002"), block2);

  // A block whose length runs past the end: false, and the kind leaves nothing: no
  // companion file, and no table whose count would name companions that are not there.
  fs::path set2 = dir.path() / "T";
  fs::create_directories(set2);
  EXPECT_FALSE(WriteImage(set2, TransferKind::Profile, Image(1, Record("001") + block1 + Le32(100) + "WORD" + "xy")));
  EXPECT_EQ(Names(set2 / "PROFILE"), std::vector<std::string>{});
  // Lengths near 2^32 must not wrap the offset arithmetic.
  EXPECT_FALSE(WriteImage(set2, TransferKind::Profile, Image(1, Record("001") + Le32(0xFFFFFFF8u) + "WORD" + "xy")));
  EXPECT_FALSE(WriteImage(set2, TransferKind::Profile, Image(1, Record("001") + Le32(0xFFFFFFFFu) + "WORD")));
  // A block header cut after its length: false.
  EXPECT_FALSE(WriteImage(set2, TransferKind::Profile, Image(1, Record("001") + block1 + Le32(0))));
}

TEST(DataSetWriter, MultiChannelTablesByTag) {
  TempFolder dir;
  fs::path set = dir.path() / "M";
  fs::create_directories(set);
  std::string records = Record("00101,a") + Record("00102,b") + Record("00201,c");
  ASSERT_TRUE(WriteImage(set, TransferKind::Multi, Image(2, records)));
  EXPECT_EQ(Names(set / "MULTI"), (std::vector<std::string>{"01.CSV", "02.CSV", "COUNT.CNT"}));
  std::string t1 = ReadAll(set / "MULTI/01.CSV");
  EXPECT_EQ(t1.substr(t1.find('\n') + 1), Record("00101,a") + Record("00102,b"));
  std::string t2 = ReadAll(set / "MULTI/02.CSV");
  EXPECT_EQ(t2.substr(t2.find('\n') + 1), Record("00201,c"));
  EXPECT_EQ(ReadAll(set / "MULTI/COUNT.CNT"), "2\n2.00");
}

TEST(DataSetWriter, MultiChannelImagesThatDoNotAddUp) {
  TempFolder dir;
  // Records ending before the image end, and a partial record: no COUNT.CNT.
  fs::path a = dir.path() / "A";
  fs::create_directories(a);
  EXPECT_FALSE(WriteImage(a, TransferKind::Multi, Image(1, Record("00101") + "001xx")));
  EXPECT_FALSE(WriteImage(a, TransferKind::Multi, Image(1, Record("00101") + Record("00201"))));
  EXPECT_FALSE(fs::exists(a / "MULTI/COUNT.CNT"));
  // Announcing far more data sets than there are records: stops at the records.
  fs::path b = dir.path() / "B";
  fs::create_directories(b);
  EXPECT_FALSE(WriteImage(b, TransferKind::Multi, Image(0xFFFFFFFFu, Record("00101") + Record("00201"))));
  EXPECT_EQ(Names(b / "MULTI"), std::vector<std::string>{});  // the tables written before are removed
  // Records tagged for another data set than the next one: no empty tables.
  fs::path c = dir.path() / "C";
  fs::create_directories(c);
  EXPECT_FALSE(WriteImage(c, TransferKind::Multi, Image(900, Record("00101") + Record("89901"))));
  EXPECT_EQ(Names(c / "MULTI"), std::vector<std::string>{});
  // No data sets and nothing after the header: an empty but valid kind.
  fs::path d = dir.path() / "D";
  fs::create_directories(d);
  EXPECT_TRUE(WriteImage(d, TransferKind::Multi, Image(0, "")));
  EXPECT_EQ(ReadAll(d / "MULTI/COUNT.CNT"), "0\n2.00");
}

TEST(DataSetWriter, HostileTableCountsStopAtTheImageEnd) {
  TempFolder dir;
  fs::path set = dir.path() / "H";
  fs::create_directories(set);
  EXPECT_FALSE(WriteImage(set, TransferKind::Level, Image(0xFFFFFFFFu, Record("1"))));
  EXPECT_FALSE(WriteImage(set, TransferKind::Constellation, Image(0x80000000u, "")));
  EXPECT_EQ(Names(set / "LEVEL"), std::vector<std::string>{});
}

TEST(DataSetWriter, BufferAndFolderRules) {
  TempFolder dir;
  DataSetWriter writer;
  EXPECT_EQ(writer.kind(), TransferKind::None);
  EXPECT_FALSE(writer.PrepareFolder(dir.path()));  // no kind selected
  writer.SelectKind(TransferKind::Sky);
  writer.SelectKind(TransferKind::None);  // ignored
  EXPECT_EQ(writer.kind(), TransferKind::Sky);
  EXPECT_FALSE(writer.Write());  // no folder, no image

  const std::uint8_t bytes[] = {'2', '.', '0', '0', 0, 0, 0, 0, 'x', 'y'};
  writer.Append(bytes, sizeof bytes);  // no buffer: nothing happens
  EXPECT_EQ(writer.fill(), 0u);
  ASSERT_TRUE(writer.Allocate(8));
  writer.Append(bytes, 5);
  writer.Append(bytes + 5, 5);  // only 3 of these fit
  EXPECT_EQ(writer.fill(), 8u);
  EXPECT_EQ(writer.imageSize(), 8u);
  ASSERT_TRUE(writer.Allocate(4));
  EXPECT_EQ(writer.fill(), 0u);

  // An existing kind folder is fine; one in another letter case is used as it is.
  // The write check leaves nothing behind.
  fs::create_directories(dir.path() / "0412/sky");
  ASSERT_TRUE(writer.PrepareFolder(dir.path() / "0412"));
  EXPECT_EQ(writer.kindFolderPath(), dir.path() / "0412/sky");
  EXPECT_EQ(writer.setName(), "0412");
  EXPECT_EQ(writer.createdFolder(), fs::path());
  EXPECT_EQ(Names(dir.path() / "0412/sky"), std::vector<std::string>{});
  ASSERT_TRUE(writer.PrepareFolder(dir.path() / "0412/"));
  EXPECT_EQ(writer.setName(), "0412");
  // The set folder must exist already; a file where the kind folder belongs. Each
  // failure names the folder refused and the system's reason.
  EXPECT_FALSE(writer.PrepareFolder(dir.path() / "none"));
  EXPECT_EQ(writer.failedFolder(), dir.path() / "none");
  EXPECT_EQ(writer.folderError(), std::make_error_code(std::errc::no_such_file_or_directory));
  dir.Put("X/SKY", "file");
  EXPECT_FALSE(writer.PrepareFolder(dir.path() / "X"));
  EXPECT_EQ(writer.failedFolder(), dir.path() / "X/SKY");
  EXPECT_EQ(writer.folderError(), std::make_error_code(std::errc::file_exists));
  fs::create_directories(dir.path() / "Y");
  ASSERT_TRUE(writer.PrepareFolder(dir.path() / "Y"));
  EXPECT_EQ(writer.createdFolder(), dir.path() / "Y/SKY");
  EXPECT_FALSE(writer.folderError());

  fs::current_path(dir.path());
  fs::create_directories("0413");
  ASSERT_TRUE(writer.PrepareFolder("0413"));
  EXPECT_EQ(writer.setName(), "0413");  // a path without a separator is the set name itself
  fs::current_path(fs::temp_directory_path());
}

TEST(DataSetWriter, ReadKindImageIsItsInverse) {
  TempFolder dir;
  ASSERT_TRUE(WriteDemoFolder(dir.path()));
  for (const DemoSet& set : BuildDemoSets()) {
    for (TransferKind kind : kAllTransferKinds) {
      SCOPED_TRACE(set.name + " kind " + std::to_string(static_cast<int>(kind)));
      std::optional<KindImage> image = ReadKindImage(dir.path() / set.name, kind);
      const KindImage& original = set.images[static_cast<std::size_t>(kind)];
      if (original.empty()) {
        EXPECT_FALSE(image.has_value());
        continue;
      }
      ASSERT_TRUE(image.has_value());
      EXPECT_TRUE(*image == original);
    }
  }
}

TEST(DataSetWriter, ReadKindImageFitsRowsToRecords) {
  TempFolder dir;
  dir.Put("F/level/f.csv", "header\n1,short\n" + std::string(200, 'x') + "\n");
  dir.Put("F/level/F.CNT", "2\n2.00");
  std::optional<KindImage> image = ReadKindImage(dir.path() / "F", TransferKind::Level);
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->size(), 8u + 360);
  std::string records(image->begin() + 8, image->end());
  EXPECT_EQ(records.substr(0, 180), "1,short" + std::string(172, ' ') + "\n");
  EXPECT_EQ(records.substr(180), std::string(179, 'x') + "\n");
  EXPECT_FALSE(ReadKindImage(dir.path() / "F", TransferKind::Ber).has_value());
  EXPECT_FALSE(ReadKindImage(dir.path() / "F", TransferKind::None).has_value());
}

}  // namespace
}  // namespace rxt4
