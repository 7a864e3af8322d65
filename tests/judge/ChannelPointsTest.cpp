// Two visits of one installation compared place by place: points keyed by kind, band
// and channel, pairs in order of occurrence, the change of each reading, and places
// only one visit has.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/ChannelPoints.h"

namespace {

using namespace rxt4;
using rxt4::test::TempFolder;

// A terrestrial level row (screen type 0, band number 30) on a channel.
std::string Level(const char* no, const char* channel, const char* level) {
  std::vector<std::string> f(30);
  f[0] = no;
  f[1] = "lv";
  f[2] = "UHF";
  f[3] = channel;
  f[6] = level;
  f[8] = "OFDM";
  f[14] = "30";
  f[20] = "0";
  std::string line;
  for (std::size_t i = 0; i < f.size(); ++i) line += (i ? "," : "") + f[i];
  return line + "\n";
}

void PutLevels(TempFolder& d, const std::string& set, const std::vector<std::string>& rows) {
  std::string table = "h\n";
  for (const std::string& r : rows) table += r;
  d.Put(set + "/LEVEL/" + set + ".CSV", table);
  d.Put(set + "/LEVEL/" + set + ".cnt", std::to_string(rows.size()) + "\n2.00");
}

TEST(ChannelPoints, VisitsArePairedByBandAndChannelInOrderOfOccurrence) {
  TempFolder d;
  // Before: ch 27 low (不合格 under the outlet profile's 50 dBμV), ch 16 twice, ch 30.
  PutLevels(d, "0412", {Level("1", "27", "45.5"), Level("2", "16", "60.0"), Level("3", "16", "61.0"),
                        Level("4", "30", "___._")});
  // After: ch 16 once, ch 27 raised, ch 30 measured, a new ch 20.
  PutLevels(d, "0413", {Level("1", "16", "62.5"), Level("2", "20", "70.0"), Level("3", "27", "58.0"),
                        Level("4", "30", "55.0")});
  DataFolderModel model;
  std::vector<LoadMessage> messages;
  ASSERT_TRUE(model.Load(d.path(), messages, LoadOptions{}));
  LimitsProfile outlet;
  ProfileError error;
  ASSERT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", outlet, error)) << error.Text();

  const std::vector<ChannelPoint> before = PointsOfSet(model, "0412", outlet);
  const std::vector<ChannelPoint> after = PointsOfSet(model, "0413", outlet);
  ASSERT_EQ(before.size(), 4u);
  EXPECT_EQ(before[0].key, (PointKey{TransferKind::Level, "UHF", "27"}));
  EXPECT_EQ(before[0].verdict, Verdict::Fail);
  EXPECT_TRUE(PointsOfSet(model, "0999", outlet).empty());

  const std::vector<ComparedPoint> compared = ComparePoints(before, after);
  struct Expected {
    const char* channel;
    bool before, after;
    std::optional<double> change;
  };
  const Expected expected[] = {
      {"27", true, true, 12.5},          // 45.5 → 58.0
      {"16", true, true, 2.5},           // the first 16 pairs with the only 16 after
      {"16", true, false, std::nullopt}, // the second 16 has no partner
      {"30", true, true, std::nullopt},  // below range before: no number to subtract
      {"20", false, true, std::nullopt}, // only after
  };
  ASSERT_EQ(compared.size(), std::size(expected));
  for (std::size_t i = 0; i < compared.size(); ++i) {
    SCOPED_TRACE(i);
    const ComparedPoint& c = compared[i];
    EXPECT_EQ(c.key.channel, expected[i].channel);
    EXPECT_EQ(c.before != nullptr, expected[i].before);
    EXPECT_EQ(c.after != nullptr, expected[i].after);
    ASSERT_EQ(c.readings.size(), 1u);
    EXPECT_EQ(c.readings[0].reading, Reading::Level);
    ASSERT_EQ(c.readings[0].change.has_value(), expected[i].change.has_value());
    if (expected[i].change) {
      EXPECT_DOUBLE_EQ(*c.readings[0].change, *expected[i].change);
    }
  }
  // The adjustment shows in the verdicts: ch 27 不合格 before, 合格 after.
  EXPECT_EQ(compared[0].before->verdict, Verdict::Fail);
  EXPECT_EQ(compared[0].after->verdict, Verdict::Pass);
}

}  // namespace
