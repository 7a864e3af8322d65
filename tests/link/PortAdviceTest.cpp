// The advice for a port that would not open: which reasons get which remedy, and the
// lines the dialogs and rxt4 download/update show.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "rxt4/link/PortAdvice.h"

namespace rxt4::test {
namespace {

// Key words of each remedy, written out here rather than taken from the string table.
constexpr const char* kPermission = "dialout";
constexpr const char* kBusy = "使用中";
constexpr const char* kMissing = "見つかりません";
constexpr const char* kInvalid = "シリアルポートとして使えない";

TEST(PortAdviceTest, EachReasonGetsItsRemedy) {
  const struct {
    int error;
    const char* keyWord;  // nullptr: no advice
  } cases[] = {
      {EACCES, kPermission}, {EPERM, kPermission}, {EBUSY, kBusy},       {EWOULDBLOCK, kBusy},
      {ENOENT, kMissing},    {ENODEV, kMissing},   {ENXIO, kMissing},    {EINVAL, kInvalid},
      {ENOTTY, kInvalid},    {EIO, nullptr},       {0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    const std::string advice(PortOpenAdvice(c.error));
    if (c.keyWord == nullptr) {
      EXPECT_TRUE(advice.empty());
    } else {
      EXPECT_NE(advice.find(c.keyWord), std::string::npos) << advice;
    }
  }
  // The permission remedy names both ways: the udev rule and the group.
  EXPECT_NE(std::string(PortOpenAdvice(EACCES)).find("rxt4 udev-rule"), std::string::npos);
}

TEST(PortAdviceTest, DetailNamesThePortTheReasonAndTheRemedy) {
  EXPECT_EQ(PortOpenDetail("/dev/ttyACM0", 0), "");
  EXPECT_EQ(PortOpenDetail("/dev/ttyACM0", EIO), std::string("/dev/ttyACM0: ") + std::strerror(EIO));
  EXPECT_EQ(PortOpenDetail("/dev/ttyUSB1", ENOENT),
            std::string("/dev/ttyUSB1: ") + std::strerror(ENOENT) +
                "\nこのポートは見つかりません。ケーブルと RXT4 の電源を確かめ、通信設定でポートを選び直してください。");
}

}  // namespace
}  // namespace rxt4::test
