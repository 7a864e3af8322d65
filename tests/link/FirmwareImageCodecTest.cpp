// The checksums, the record decompressor and the upload data of firmware parts.

#include <gtest/gtest.h>

#include <string_view>

#include "FirmwareImageBuilder.h"
#include "rxt4/link/Crc.h"
#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/LzExpand.h"

namespace {

using imagetest::Bytes;

Bytes Ascii(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(FirmwareCrcTest, CheckValuesAndResidue) {
  EXPECT_EQ(rxt4::Crc32Mpeg2(Ascii("123456789")), 0x0376E6E7u);
  EXPECT_EQ(rxt4::Crc16Xmodem(Ascii("123456789")), 0x31C3u);
  EXPECT_EQ(rxt4::Crc16Xmodem(Bytes(1024, 0x1A)), 0xFC96u);
  // Data followed by its CRC, big-endian, gives 0.
  Bytes data = Ascii("123456789");
  imagetest::Append(data, {0x03, 0x76, 0xE6, 0xE7});
  EXPECT_EQ(rxt4::Crc32Mpeg2(data), 0u);
  // Continuing over pieces is the same as one run.
  const Bytes whole = imagetest::Pattern(300);
  const Bytes a(whole.begin(), whole.begin() + 123), b(whole.begin() + 123, whole.end());
  EXPECT_EQ(rxt4::Crc32Mpeg2(b, rxt4::Crc32Mpeg2(a)), imagetest::BitCrc32(whole));
}

TEST(LzExpandTest, MatchesAndLiterals) {
  Bytes out(8, 0xEE);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x80}, 4, 2), 4u);
  EXPECT_EQ(out, (Bytes{0x41, 0x41, 0x41, 0x41, 0xEE, 0xEE, 0xEE, 0xEE}));

  out.assign(8, 0xEE);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x21, 0x40}, 4, 2), 5u);
  EXPECT_EQ(out, (Bytes{0x41, 0x42, 0x42, 0x42, 0x42, 0xEE, 0xEE, 0xEE}));

  // A single byte source is the byte itself.
  out.assign(2, 0xEE);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x7F}, 1, 1), 1u);
  EXPECT_EQ(out, (Bytes{0x7F, 0xEE}));
}

TEST(LzExpandTest, OutputBeyondTheDestinationIsCountedNotWritten) {
  Bytes buffer(6, 0xEE);
  std::span<std::uint8_t> dest(buffer.data(), 2);
  EXPECT_EQ(rxt4::LzExpand(dest, Bytes{0x41, 0x21, 0x40}, 4, 2), 5u);
  EXPECT_EQ(buffer, (Bytes{0x41, 0x42, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(LzExpandTest, RefusedParametersAndBadDistances) {
  Bytes out(8, 0xEE);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x80}, 0, 2), 0u);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x80}, 17, 2), 0u);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x80}, 4, 16), 0u);
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{}, 4, 2), 0u);
  EXPECT_EQ(out, Bytes(8, 0xEE));
  // Flag 1, distance 0b0001 + 1 = 2 with one byte produced: reaches before the start.
  EXPECT_EQ(rxt4::LzExpand(out, Bytes{0x41, 0x88}, 4, 2), 0u);
}

TEST(LzExpandTest, BoundCoversTheLongestExpansion) {
  // Every match at its longest (n = 2: count 6, distance 1): flag 1, 0000, 11 = 7 bits each.
  const Bytes source = {0x41, 0x87, 0x0E, 0x1C, 0x38, 0x70, 0xE1, 0xC3};
  Bytes out(1000, 0);
  const std::uint64_t produced = rxt4::LzExpand(out, source, 4, 2);
  EXPECT_EQ(produced, 1u + 8 * 6);  // 56 bits = 8 matches
  EXPECT_GE(rxt4::LzMaxExpandedBytes(source.size(), 4, 2), produced);
  EXPECT_EQ(rxt4::LzMaxExpandedBytes(0, 4, 2), 0u);
  EXPECT_EQ(rxt4::LzMaxExpandedBytes(5, 4, 16), 0u);
}

TEST(FirmwareUploadDataTest, BytesPastThePartAre1A) {
  rxt4::test::TempFolder dir{"firmware"};
  const Bytes tsnm = imagetest::TsnmPart("1.00", imagetest::Pattern(1500 - 32, 5));
  ASSERT_EQ(tsnm.size(), 1500u);
  rxt4::CFirmwareImage image;
  ASSERT_TRUE(image.Load(imagetest::WriteFile(dir / "t.img", tsnm)));
  const rxt4::CFirmwarePart* part = image.Part(rxt4::PartType::Tsnm);
  ASSERT_NE(part, nullptr);

  Bytes block(1024, 0);
  part->ReadUpload(block, 1024);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 476), Bytes(tsnm.begin() + 1024, tsnm.end()));
  EXPECT_EQ(Bytes(block.begin() + 476, block.end()), Bytes(548, 0x1A));

  part->ReadUpload(block, 0);
  EXPECT_EQ(block, Bytes(tsnm.begin(), tsnm.begin() + 1024));

  part->ReadUpload(block, 4096);
  EXPECT_EQ(block, Bytes(1024, 0x1A));
}

}  // namespace
