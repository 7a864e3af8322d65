#include "rxt4/screens/ImageFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../common/TempFolder.h"

namespace rxt4 {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

TEST(BitmapFile, TwentyFourBitRowsArePaddedToFourBytes) {
  Surface s(302, 2);
  s.SetPixel(0, 1, Rgb{1, 2, 3});     // bottom row, first pixel
  s.SetPixel(301, 0, Rgb{4, 5, 6});   // top row, last pixel
  const std::vector<std::uint8_t> file = EncodeBitmapFile(s.View(), 24);
  EXPECT_EQ(BitmapRowBytes(302, 24), 908u);
  ASSERT_EQ(file.size(), 54u + 2 * 908u);
  EXPECT_EQ(file[0], 0x42);
  EXPECT_EQ(file[1], 0x4D);
  EXPECT_EQ(U32(file, 2), 54u + 1816u);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 302u);
  EXPECT_EQ(U32(file, 22), 2u);
  EXPECT_EQ(U16(file, 26), 1u);
  EXPECT_EQ(U16(file, 28), 24u);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 34), 1816u);
  for (std::size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(U32(file, at), 0u);
  // Bottom row first, blue-green-red, zero padding.
  EXPECT_EQ(file[54], 3);
  EXPECT_EQ(file[55], 2);
  EXPECT_EQ(file[56], 1);
  EXPECT_EQ(file[54 + 906], 0);
  EXPECT_EQ(file[54 + 907], 0);
  EXPECT_EQ(file[54 + 908 + 301 * 3], 6);
  EXPECT_EQ(file[54 + 908 + 301 * 3 + 2], 4);
  EXPECT_EQ(file[54 + 908], 255);
}

TEST(BitmapFile, ThirtyTwoBitsHaveNoColourTable) {
  Surface s(321, 240);
  s.SetPixel(0, 239, Rgb{10, 20, 30});
  const std::vector<std::uint8_t> file = EncodeBitmapFile(s.View(), 32);
  ASSERT_EQ(file.size(), 54u + 4u * 321u * 240u);
  EXPECT_EQ(U32(file, 2), 54u + 4u * 321u * 240u);
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U16(file, 28), 32u);
  EXPECT_EQ(U32(file, 34), 4u * 321u * 240u);
  EXPECT_EQ(file[54], 30);
  EXPECT_EQ(file[55], 20);
  EXPECT_EQ(file[56], 10);
  EXPECT_EQ(file[57], 0);
}

TEST(BitmapFile, RefusesWhatItCannotStore) {
  Surface s(4, 4);
  EXPECT_TRUE(EncodeBitmapFile(s.View(), 8).empty());
  EXPECT_TRUE(EncodeBitmapFile(Surface(0, 5).View(), 24).empty());
  RgbImageView bad{4, 4, nullptr, 12};
  EXPECT_TRUE(EncodeBitmapFile(bad, 24).empty());
  std::string error;
  EXPECT_FALSE(WriteBitmapFile("/nonexistent-folder/x.bmp", s.View(), 24, &error));
  EXPECT_NE(error.find("/nonexistent-folder/x.bmp"), std::string::npos);
  EXPECT_FALSE(WritePngFile("/nonexistent-folder/x.png", s.View(), &error));
}

TEST(ImageFiles, WritesBitmapAndPngFiles) {
  const rxt4::test::TempFolder folder("images");
  const std::filesystem::path& dir = folder.path();
  Surface s(7, 3);
  s.FillRect(0, 0, 7, 1, kBlack);
  ASSERT_TRUE(WriteBitmapFile(dir / "a.bmp", s.View()));
  EXPECT_EQ(std::filesystem::file_size(dir / "a.bmp"), 54u + 3u * 24u);
  ASSERT_TRUE(WritePngFile(dir / "a.png", s.View()));
  std::ifstream png(dir / "a.png", std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 33u);
  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), bytes.begin()));
  EXPECT_EQ(bytes[19], 7);   // IHDR width (big-endian, low byte)
  EXPECT_EQ(bytes[23], 3);   // height
  EXPECT_EQ(bytes[24], 8);   // bit depth
  EXPECT_EQ(bytes[25], 2);   // RGB
}


TEST(ImageFiles, AWriteThatFailsOnTheWayLeavesTheEarlierImageWhole) {
  const rxt4::test::TempFolder folder("images");
  const std::filesystem::path& dir = folder.path();
  Surface noise(120, 90);  // many colours: neither file fits the limit below
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x)
      noise.SetPixel(x, y, {static_cast<std::uint8_t>(x * 37 + y * 11), static_cast<std::uint8_t>(x * y),
                            static_cast<std::uint8_t>(y * 53 + x)});
  for (const char* name : {"a.bmp", "a.png"}) {
    SCOPED_TRACE(name);
    const auto file = dir / name;
    std::ofstream(file, std::ios::binary) << "the earlier image";
    // A disk that fills up after 2000 bytes: the write fails on the way (EFBIG).
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit small = {2000, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool written = std::string(name) == "a.bmp" ? WriteBitmapFile(file, noise.View(), 24, &error)
                                                       : WritePngFile(file, noise.View(), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the earlier image");
  }
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.bmp", "a.png"}));  // no temporary file left
}

}  // namespace
}  // namespace rxt4
