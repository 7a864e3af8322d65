// Loading and verifying firmware image files: headers, remainders, CRCs, Dec records.

#include <gtest/gtest.h>

#include <string>

#include "../common/HostileFiles.h"
#include "FirmwareImageBuilder.h"
#include "rxt4/link/FirmwareImage.h"

namespace {

using imagetest::Bytes;
using rxt4::CFirmwareImage;
using rxt4::PartType;

class FirmwareImageTest : public ::testing::Test {
 protected:
  // Writes bytes as an image file and loads it.
  bool Load(const Bytes& bytes) { return image.Load(imagetest::WriteFile(dir / "fw.img", bytes)); }

  std::string VersionOf(PartType type) {
    std::array<char, 8> v{};
    if (!image.Version(type, v)) return "<none>";
    return std::string(v.begin(), v.end());
  }

  rxt4::test::TempFolder dir{"firmware"};
  CFirmwareImage image;
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) imagetest::Append(out, p);
  return out;
}

const Bytes kMain = imagetest::MainPart("1.03", imagetest::Pattern(100), imagetest::Pattern(60, 3));
const Bytes kTsnm = imagetest::TsnmPart("T2.10", imagetest::Pattern(50, 9));
const Bytes kDec = imagetest::DecPart("D0.9", imagetest::StoredRecord(imagetest::Pattern(20, 1)));

TEST_F(FirmwareImageTest, AllThreePartsLoadWithSizesVersionsAndExactBytes) {
  ASSERT_TRUE(Load(Concat({kMain, kTsnm, kDec})));
  EXPECT_EQ(image.Size(PartType::Main), 32u + 100 + 60 + 4);
  EXPECT_EQ(image.Size(PartType::Tsnm), 28u + 50 + 4);
  EXPECT_EQ(image.Size(PartType::Dec), 32u + 16 + 20 + 4);
  EXPECT_EQ(image.Part(PartType::Main)->PayloadSize(), 160u);
  EXPECT_EQ(image.Part(PartType::Tsnm)->PayloadSize(), 50u);
  EXPECT_EQ(image.Part(PartType::Dec)->PayloadSize(), 0u);
  EXPECT_EQ(VersionOf(PartType::Main), "1.03    ");
  EXPECT_EQ(VersionOf(PartType::Tsnm), "T2.10   ");
  EXPECT_EQ(VersionOf(PartType::Dec), "D0.9    ");
  const auto main = image.Part(PartType::Main)->Bytes();
  EXPECT_EQ(Bytes(main.begin(), main.end()), kMain);
  const auto dec = image.Part(PartType::Dec)->Bytes();
  EXPECT_EQ(Bytes(dec.begin(), dec.end()), kDec);

  std::array<std::uint8_t, 3> size{};
  image.Part(PartType::Main)->WriteSize(size);
  EXPECT_EQ(size, (std::array<std::uint8_t, 3>{0x00, 0x00, 0xC4}));  // 196

  EXPECT_EQ(image.Part(static_cast<PartType>(3)), nullptr);
  EXPECT_EQ(image.Size(static_cast<PartType>(0)), 0u);
}

TEST_F(FirmwareImageTest, OnlyTsnmIsFoundBehindMainsLookAtTheSameBytes) {
  ASSERT_TRUE(Load(kTsnm));
  EXPECT_EQ(image.Part(PartType::Main), nullptr);
  EXPECT_EQ(image.Part(PartType::Dec), nullptr);
  ASSERT_NE(image.Part(PartType::Tsnm), nullptr);
  EXPECT_EQ(image.Size(PartType::Tsnm), 82u);
  std::array<char, 8> v{};
  EXPECT_FALSE(image.Version(PartType::Main, v));

  ASSERT_TRUE(Load(kDec));
  EXPECT_EQ(image.Part(PartType::Tsnm), nullptr);  // the earlier load was replaced
  EXPECT_NE(image.Part(PartType::Dec), nullptr);

  ASSERT_TRUE(Load(Concat({kMain, kDec})));
  EXPECT_EQ(image.Part(PartType::Tsnm), nullptr);
  EXPECT_NE(image.Part(PartType::Dec), nullptr);
}

TEST_F(FirmwareImageTest, RemainderAfterTheLastPart) {
  // Shorter than the TSNM header still to be tried: invalid.
  EXPECT_FALSE(Load(Concat({kMain, Bytes(10, 0)})));
  EXPECT_TRUE(image.Empty());
  // Long enough for the TSNM header, not for the Dec one.
  EXPECT_FALSE(Load(Concat({kMain, Bytes(30, 0)})));
  // Long enough for both: ignored.
  ASSERT_TRUE(Load(Concat({kMain, Bytes(40, 0)})));
  EXPECT_NE(image.Part(PartType::Main), nullptr);
  EXPECT_EQ(image.Part(PartType::Tsnm), nullptr);
  // After TSNM only the Dec header counts.
  EXPECT_FALSE(Load(Concat({kTsnm, Bytes(31, 0xEE)})));
  EXPECT_TRUE(Load(Concat({kTsnm, Bytes(32, 0xEE)})));
  // Anything after a Dec part is ignored.
  EXPECT_TRUE(Load(Concat({kDec, Bytes(5, 0x77)})));
}

TEST_F(FirmwareImageTest, FilesWithoutAnyPartAreRefused) {
  EXPECT_FALSE(Load(Bytes{}));
  EXPECT_FALSE(Load(Bytes(40, 0)));
  EXPECT_FALSE(image.Load(dir / "missing.img"));
  EXPECT_FALSE(image.Load(dir.path()));
  EXPECT_FALSE(image.Load(""));
}

TEST_F(FirmwareImageTest, PipesDevicesAndOversizedFilesAreRefusedUnread) {
  for (rxt4::test::Hostile kind : rxt4::test::kHostileFiles) {
    SCOPED_TRACE(rxt4::test::HostileName(kind));
    const auto path = rxt4::test::MakeHostile(kind, dir / "hostile.img");
    EXPECT_FALSE(image.Load(path));
    EXPECT_EQ(image.fileError(), rxt4::test::HostileReason(kind) + ": " + path.string());
  }
  // A valid image after them loads, and tells of no file error.
  EXPECT_TRUE(Load(kMain));
  EXPECT_EQ(image.fileError(), "");
}

TEST_F(FirmwareImageTest, HeaderChecksumsAndCrcsAreChecked) {
  Bytes main = kMain;
  main[31] = static_cast<std::uint8_t>(main[31] + 1);
  EXPECT_FALSE(Load(main));

  Bytes tsnm = kTsnm;
  tsnm.back() ^= 0x01;
  EXPECT_FALSE(Load(Concat({kMain, tsnm})));
  EXPECT_TRUE(image.Empty());  // a later invalid part drops the ones before it

  Bytes body = kMain;
  body[40] ^= 0x80;
  EXPECT_FALSE(Load(body));

  Bytes dec = kDec;
  dec[dec.size() - 2] ^= 0x10;  // part CRC
  EXPECT_FALSE(Load(dec));

  Bytes decHeader = kDec;
  decHeader[31] ^= 0x01;
  EXPECT_FALSE(Load(decHeader));
}

TEST_F(FirmwareImageTest, LengthsBeyondTheFileAreRefusedBeforeAnyAllocation) {
  // A header claiming 2 x 16 MB in a file of a few bytes: refused at once.
  Bytes huge = imagetest::HeaderStart("1.00", "VEXOLA RXT4 Main");
  imagetest::Put24(huge, 0xFFFFFF);
  imagetest::Put24(huge, 0xFFFFFF);
  huge.push_back(0);
  huge.push_back(imagetest::Sum8(huge));
  imagetest::Append(huge, Bytes(16, 0));
  EXPECT_FALSE(Load(huge));

  // One byte missing at the end of a Main or TSNM part.
  EXPECT_FALSE(Load(Bytes(kMain.begin(), kMain.end() - 1)));
  EXPECT_FALSE(Load(Bytes(kTsnm.begin(), kTsnm.end() - 1)));
  // A header cut short.
  EXPECT_FALSE(Load(Bytes(kMain.begin(), kMain.begin() + 20)));
}

TEST_F(FirmwareImageTest, DecPartSizeLimits) {
  const Bytes record = imagetest::StoredRecord(imagetest::Pattern(20, 1));
  // S + 4 beyond the file.
  EXPECT_FALSE(Load(imagetest::DecPart("D", record, 32 + 68)));
  // S + 4 = 43, below the smallest Dec part.
  Bytes small = imagetest::DecPart("D", Bytes(7, 0), 39);
  ASSERT_EQ(small.size(), 43u);
  EXPECT_FALSE(Load(small));
  // S stops inside a record: the record would reach past S.
  Bytes cut = imagetest::DecPart("D", Concat({record, Bytes(8, 0)}), 32 + 36 + 8);
  EXPECT_FALSE(Load(cut));
}

TEST_F(FirmwareImageTest, DecRecords) {
  // Stored as is: the CRC is over the stored bytes.
  const Bytes data = {1, 2, 3, 4, 5};
  EXPECT_TRUE(Load(imagetest::DecPart("D", imagetest::DecRecord(data, 999, 0xFF, data))));
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord(data, 5, 0xFF, {1, 2, 3, 4, 6}))));

  // Compressed with offset bits 4, length bits 2 (method 0x31): 41 80 expands to 41 41 41 41.
  const Bytes expanded = {0x41, 0x41, 0x41, 0x41};
  EXPECT_TRUE(Load(imagetest::DecPart("D", imagetest::DecRecord({0x41, 0x80}, 4, 0x31, expanded))));
  // The CRC of the stored bytes is not that of the expanded ones.
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord({0x41, 0x80}, 4, 0x31, {0x41, 0x80}))));
  // An expanded length the stored bytes do not give: short expansion.
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord({0x41, 0x80}, 5, 0x31, {0x41, 0x41, 0x41, 0x41, 0}))));
  // An expanded length far beyond what two bytes can give is refused before allocation.
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord({0x41, 0x80}, 0xFFFFFF, 0x31, expanded))));
  // Length bits 16 (method 0x4F) are refused.
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord({0x41, 0x80}, 4, 0x4F, expanded))));
  // A compressed record without stored bytes.
  EXPECT_FALSE(Load(imagetest::DecPart("D", imagetest::DecRecord({}, 0, 0x31, {}))));

  // Two records one after the other, the second compressed: 41 21 40 -> 41 42 42 42 42.
  const Bytes two = Concat({imagetest::StoredRecord(data),
                            imagetest::DecRecord({0x41, 0x21, 0x40}, 5, 0x31, {0x41, 0x42, 0x42, 0x42, 0x42})});
  ASSERT_TRUE(Load(imagetest::DecPart("D", two)));
  EXPECT_EQ(image.Size(PartType::Dec), 32u + 21 + 19 + 4);

  // A record header with a wrong checksum.
  Bytes badSum = imagetest::StoredRecord(data);
  badSum[11] ^= 0x01;
  EXPECT_FALSE(Load(imagetest::DecPart("D", badSum)));
}

TEST_F(FirmwareImageTest, TheFailedCheckIsNamedWithItsPart) {
  Bytes mainHeader = kMain;
  mainHeader[31] ^= 0x01;
  Bytes tsnmCrc = kTsnm;
  tsnmCrc.back() ^= 0x01;
  Bytes mainBody = kMain;
  mainBody[40] ^= 0x80;
  const Bytes data = {1, 2, 3, 4, 5};
  Bytes recordSum = imagetest::StoredRecord(data);
  recordSum[11] ^= 0x01;
  const struct {
    const char* what;
    Bytes bytes;
    rxt4::ImageCheck check;
    const char* text;
  } cases[] = {
      {"empty", {}, rxt4::ImageCheck::NoPart, "no Main, TSNM or Dec part found"},
      {"header cut", Bytes(kMain.begin(), kMain.begin() + 20), rxt4::ImageCheck::TooShort,
       "Main part: the file ends inside its header"},
      {"remainder", Concat({kMain, Bytes(10, 0)}), rxt4::ImageCheck::TooShort,
       "TSNM part: the file ends inside its header"},
      {"header sum", mainHeader, rxt4::ImageCheck::Header, "Main part: header checksum does not match"},
      {"body", mainBody, rxt4::ImageCheck::Crc, "Main part: CRC-32 does not match"},
      {"last byte", Concat({kMain, tsnmCrc}), rxt4::ImageCheck::Crc, "TSNM part: CRC-32 does not match"},
      {"one byte short", Bytes(kTsnm.begin(), kTsnm.end() - 1), rxt4::ImageCheck::Length,
       "TSNM part: its length does not fit the file"},
      {"S too small", imagetest::DecPart("D", Bytes(7, 0), 39), rxt4::ImageCheck::Length,
       "Dec part: its length does not fit the file"},
      {"record sum", imagetest::DecPart("D", Concat({imagetest::StoredRecord(data), recordSum})),
       rxt4::ImageCheck::Header, "Dec part, record 2: header checksum does not match"},
      {"record crc", imagetest::DecPart("D", imagetest::DecRecord(data, 5, 0xFF, {1, 2, 3, 4, 6})),
       rxt4::ImageCheck::Crc, "Dec part, record 1: CRC-32 does not match"},
      {"record past S", imagetest::DecPart("D", Concat({imagetest::StoredRecord(data), Bytes(8, 0)}), 32 + 21 + 8),
       rxt4::ImageCheck::Length, "Dec part, record 2: its length does not fit the part"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(Load(c.bytes));
    EXPECT_EQ(image.fault().check, c.check);
    EXPECT_EQ(image.FaultText(rxt4::Language::English), c.text);
  }
  EXPECT_FALSE(image.Load(dir / "missing.img"));
  EXPECT_EQ(image.fault().check, rxt4::ImageCheck::File);
  EXPECT_EQ(image.FaultText(), "ファイルまたはフォルダがありません: " + (dir / "missing.img").string());
  // A valid image after them tells of no failed check.
  EXPECT_TRUE(Load(kMain));
  EXPECT_EQ(image.fault().check, rxt4::ImageCheck::None);
  EXPECT_EQ(image.FaultText(), "");
}

TEST_F(FirmwareImageTest, DecRecordLengthsReachingPastThePartAreRefused) {
  const Bytes data = {9, 8, 7, 6, 5, 4, 3, 2};
  // The stored length T claims more than the part holds; the file goes on behind it so
  // that only the bound can catch it.
  Bytes record = imagetest::StoredRecord(data);
  record[9] = 0x40;  // T = 64
  record[11] = imagetest::Sum8(Bytes(record.begin(), record.begin() + 11));
  Bytes part = imagetest::DecPart("D", record);
  imagetest::Append(part, Bytes(200, 0x1A));
  EXPECT_FALSE(Load(part));

  // T as large as 24 bits allow.
  record[7] = record[8] = record[9] = 0xFF;
  record[11] = imagetest::Sum8(Bytes(record.begin(), record.begin() + 11));
  EXPECT_FALSE(Load(imagetest::DecPart("D", record)));
}

}  // namespace
