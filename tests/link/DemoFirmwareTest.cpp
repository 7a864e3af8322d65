#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

#include "FirmwareImageBuilder.h"
#include "rxt4/link/DemoFirmware.h"
#include "rxt4/link/FirmwareImage.h"
#include "rxt4/link/LzExpand.h"

namespace rxt4 {
namespace {

TEST(DemoFirmware, CompressedDataExpandsBackExactly) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < 3000; ++i) data.push_back(static_cast<std::uint8_t>(i % 50 < 40 ? 0x11 : i));
  const auto packed = LzCompress(data, 8, 5);
  EXPECT_LT(packed.size(), data.size() / 3);  // the runs are found
  std::vector<std::uint8_t> out(data.size());
  EXPECT_EQ(LzExpand(out, packed, 8, 5), data.size());
  EXPECT_EQ(out, data);

  // Odd tails: one byte, and a literal-only text whose last byte is padded with zero bits.
  const std::vector<std::uint8_t> one{0x41};
  std::vector<std::uint8_t> oneOut(1);
  EXPECT_EQ(LzExpand(oneOut, LzCompress(one, 4, 2), 4, 2), 1u);
  const std::vector<std::uint8_t> text{'a', 'b', 'c', 'd'};
  std::vector<std::uint8_t> textOut(4);
  EXPECT_EQ(LzExpand(textOut, LzCompress(text, 4, 2), 4, 2), 4u);
  EXPECT_EQ(textOut, text);
}

TEST(DemoFirmware, ImageIsValidWithAllThreeParts) {
  rxt4::test::TempFolder dir{"firmware"};
  const auto path = dir / "demo.img";
  ASSERT_TRUE(WriteDemoFirmwareImage(path));
  CFirmwareImage image;
  ASSERT_TRUE(image.Load(path));
  EXPECT_EQ(image.Size(PartType::Main), 32u + 40 * 1024 + 100 + 8 * 1024 + 4);
  EXPECT_EQ(image.Size(PartType::Tsnm), 28u + 12 * 1024 + 4);
  EXPECT_GT(image.Size(PartType::Dec), 44u);
  std::array<char, kVersionChars> version{};
  ASSERT_TRUE(image.Version(PartType::Dec, version));
  EXPECT_EQ(std::string(version.data(), version.size()), "1.03    ");
}

}  // namespace
}  // namespace rxt4
