// One place followed across visits, and two visits compared as the viewer's table: which readings a query gathers, in which order the
// visits go (by 測定日時 where a job record gives it), their verdicts and the limits the
// chart draws.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "VisitsFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/judge/CompareRows.h"
#include "rxt4/judge/Trend.h"

namespace {

using namespace rxt4;
using rxt4::test::TempFolder;

struct Loaded {
  TempFolder folder;
  DataFolderModel model;
  LimitsProfile outlet;
  Loaded() {
    rxt4::test::PutVisits(folder);
    std::vector<LoadMessage> messages;
    EXPECT_TRUE(model.Load(folder.path(), messages, LoadOptions{}));
    ProfileError error;
    EXPECT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", outlet, error)) << error.Text();
  }
};

struct Seen {
  const char* set;
  const char* stored;
  Verdict verdict;
};

// The sample's two visits to one customer: UHF 21 too weak before the amplifier was
// adjusted, good after, in the level measurement and the multi-channel row; the
// chart's line runs from visit to visit through the level measurement.
TEST(Trend, TheSamplesVisitsShowTheAdjustment) {
  TempFolder folder;
  ASSERT_TRUE(WriteDemoFolder(folder.path()));
  DataFolderModel model;
  std::vector<LoadMessage> messages;
  ASSERT_TRUE(model.Load(folder.path(), messages, LoadOptions{}));
  ProfileError error;
  LimitsProfile outlet;
  ASSERT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", outlet, error)) << error.Text();
  const TrendSeries series = BuildTrend(model, {"UHF", "21", Reading::Level}, outlet);
  const Seen seen[] = {{"0412", "44.6", Verdict::Fail},
                       {"0412", "39.4", Verdict::Fail},
                       {"0413", "63.8", Verdict::Pass},
                       {"0413", "65.4", Verdict::Pass}};
  ASSERT_EQ(series.points.size(), std::size(seen));
  for (std::size_t i = 0; i < series.points.size(); ++i) {
    const TrendPoint& p = series.points[i];
    EXPECT_EQ(series.visits[p.visit].setFolder, seen[i].set) << i;
    EXPECT_EQ(p.result.stored, seen[i].stored) << i;
    EXPECT_EQ(p.result.verdict, seen[i].verdict) << i;
    EXPECT_EQ(p.kind, i % 2 ? TransferKind::Multi : TransferKind::Level) << i;
  }
  EXPECT_EQ(TrendLinePoints(series), (std::vector<std::size_t>{0, 2}));
}

TEST(Trend, GathersThePlaceVisitByVisitWithVerdictsAndLimits) {
  Loaded d;
  struct Case {
    const char* what;
    TrendQuery query;
    std::map<std::string, std::string> dates;
    std::vector<Seen> seen;
  };
  const Case cases[] = {
      {"level in name order; 0420 did not measure ch 27",
       {"UHF", "27", Reading::Level},
       {},
       {{"0412", "45.5", Verdict::Fail},
        {"0413", "52.0", Verdict::Caution},
        {"0501", "58.0", Verdict::Pass},
        {"0502", "___._", Verdict::Fail}}},
      {"band in any case, channel by its number",
       {"uhf ", "027", Reading::Level},
       {},
       {{"0412", "45.5", Verdict::Fail},
        {"0413", "52.0", Verdict::Caution},
        {"0501", "58.0", Verdict::Pass},
        {"0502", "___._", Verdict::Fail}}},
      {"dated visits after the undated ones, by their 測定日時",
       {"UHF", "27", Reading::Level},
       {{"0413", "2026-05-02 09:00"}, {"0412", "2026-04-30 15:10"}},
       {{"0501", "58.0", Verdict::Pass},
        {"0502", "___._", Verdict::Fail},
        {"0412", "45.5", Verdict::Fail},
        {"0413", "52.0", Verdict::Caution}}},
      {"the C/N only where a screen shows it (the BER kind)",
       {"UHF", "27", Reading::Cn},
       {},
       {{"0412", "20.5", Verdict::Fail}, {"0501", "30.5", Verdict::Pass}}},
      {"one kind only", {"UHF", "27", Reading::Level, TransferKind::Ber}, {}, {}},
      {"a channel never measured", {"UHF", "13", Reading::Level}, {}, {}},
      {"a reading no screen of the place shows", {"UHF", "16", Reading::Mer}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TrendSeries series = BuildTrend(d.model, c.query, d.outlet, c.dates);
    ASSERT_EQ(series.points.size(), c.seen.size());
    ASSERT_EQ(series.visits.size(), c.seen.size());  // one point per visit here
    for (std::size_t i = 0; i < c.seen.size(); ++i) {
      SCOPED_TRACE(i);
      const TrendPoint& p = series.points[i];
      EXPECT_EQ(series.visits[p.visit].setFolder, c.seen[i].set);
      EXPECT_EQ(p.result.stored, c.seen[i].stored);
      EXPECT_EQ(p.result.verdict, c.seen[i].verdict);
      EXPECT_EQ(p.serviceClass, ServiceClass::Terrestrial);
      const auto date = c.dates.find(c.seen[i].set);
      EXPECT_EQ(series.visits[p.visit].measuredAt, date == c.dates.end() ? "" : date->second);
    }
  }
}

TEST(Trend, VisitsAreDatedByTheirJobRecords) {
  Loaded d;
  d.folder.Put("0412/job.toml", "measured_at = \"2026-06-01 09:00\"\n");
  d.folder.Put("0501/job.toml", "measured_at = \"2026-05-20\"\n");
  d.folder.Put("0413/job.toml", "measured_at = 20260413\n");  // no text: refused, undated
  std::vector<RecordError> refused;
  const auto dates = ReadMeasuredAt(d.folder.path(), d.model.SetFolders(), &refused);
  EXPECT_EQ(dates, (std::map<std::string, std::string>{{"0412", "2026-06-01 09:00"}, {"0501", "2026-05-20"}}));
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].file, d.folder.path() / "0413" / "job.toml");
  const TrendSeries series = BuildTrend(d.model, {"UHF", "27", Reading::Level}, d.outlet, dates);
  std::vector<std::string> order;
  for (const TrendVisit& v : series.visits) order.push_back(v.setFolder + " " + v.measuredAt);
  EXPECT_EQ(order, (std::vector<std::string>{"0413 ", "0502 ", "0501 2026-05-20", "0412 2026-06-01 09:00"}));
}

TEST(Trend, LimitsAreTheProfilesForTheReadingOfThePlacesClass) {
  Loaded d;
  const TrendSeries level = BuildTrend(d.model, {"UHF", "27", Reading::Level}, d.outlet);
  EXPECT_EQ(level.serviceClass, ServiceClass::Terrestrial);
  EXPECT_EQ(level.min, 50.0);
  EXPECT_EQ(level.max, 81.0);
  EXPECT_EQ(level.marginDb, 3.0);
  const TrendSeries cn = BuildTrend(d.model, {"UHF", "27", Reading::Cn}, d.outlet);
  EXPECT_EQ(cn.min, 24.0);
  EXPECT_FALSE(cn.max.has_value());
  const TrendSeries ber = BuildTrend(d.model, {"UHF", "27", Reading::Ber}, d.outlet);
  EXPECT_FALSE(ber.min.has_value());
  EXPECT_EQ(ber.max, 2.0e-4);
  EXPECT_EQ(ber.marginDb, 0.0);
  ASSERT_EQ(ber.points.size(), 2u);
  EXPECT_DOUBLE_EQ(ber.points[1].result.value, 2.0e-6);
}

TEST(Trend, PlacesAreListedOnceEach) {
  Loaded d;
  auto names = [](const std::vector<PointKey>& keys) {
    std::vector<std::string> out;
    for (const PointKey& k : keys) out.push_back(k.band + " " + k.channel);
    return out;
  };
  EXPECT_EQ(names(TrendPlaces(d.model, d.outlet)), (std::vector<std::string>{"UHF 27", "UHF 16"}));
  EXPECT_EQ(names(TrendPlaces(d.model, d.outlet, Reading::Cn)), (std::vector<std::string>{"UHF 27"}));
  EXPECT_TRUE(TrendPlaces(d.model, d.outlet, Reading::Mer).empty());
}

TEST(CompareRows, BothVisitsValuesVerdictsAndTheChange) {
  Loaded d;
  const std::vector<ChannelPoint> before = PointsOfSet(d.model, "0412", d.outlet);
  const std::vector<ChannelPoint> after = PointsOfSet(d.model, "0501", d.outlet);
  const std::vector<CompareRow> rows = CompareRows(ComparePoints(before, after));
  struct Expected {
    TransferKind kind;
    const char* channel;
    Reading reading;
    const char* before;
    Verdict beforeVerdict;
    const char* after;
    Verdict afterVerdict;
    const char* change;
  };
  const Expected expected[] = {
      {TransferKind::Level, "27", Reading::Level, "45.5 dBμV", Verdict::Fail, "58.0 dBμV", Verdict::Pass, "+12.5 dB"},
      {TransferKind::Level, "16", Reading::Level, "60.0 dBμV", Verdict::Pass, "なし", Verdict::None, ""},
      {TransferKind::Ber, "27", Reading::Ber, "1.0E-5", Verdict::Pass, "2.0E-6", Verdict::Pass, ""},
      {TransferKind::Ber, "27", Reading::Cn, "20.5 dB", Verdict::Fail, "30.5 dB", Verdict::Pass, "+10.0 dB"},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const CompareRow& r = rows[i];
    const Expected& e = expected[i];
    EXPECT_EQ(r.kind, e.kind);
    EXPECT_EQ(r.band, "UHF");
    EXPECT_EQ(r.channel, e.channel);
    EXPECT_EQ(r.reading, e.reading);
    EXPECT_EQ(r.before, e.before);
    EXPECT_EQ(r.beforeVerdict, e.beforeVerdict);
    EXPECT_EQ(r.after, e.after);
    EXPECT_EQ(r.afterVerdict, e.afterVerdict);
    EXPECT_EQ(r.afterMissing, std::string(e.after) == "なし");
    EXPECT_EQ(r.change, e.change);
  }
}

}  // namespace
