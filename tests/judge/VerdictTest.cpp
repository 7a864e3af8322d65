// The verdict of every reading, worked out by hand from the shipped profiles
// (limits/outlet.toml, limits/receiver-minimum.toml): every service class, every
// marker, both edges of every limit and of its margin.

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Columns.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"

namespace rxt4 {
// Verdicts and reasons by name in failure messages.
void PrintTo(Verdict v, std::ostream* os) { *os << VerdictKey(v); }
void PrintTo(Reason r, std::ostream* os) { *os << ReasonKey(r); }
void PrintTo(ServiceClass c, std::ostream* os) { *os << ServiceClassKey(c); }
}  // namespace rxt4

namespace {

using namespace rxt4;
using Cols = std::vector<std::pair<Column, std::string>>;

// What a row says about its service: screen type, band number, band name, modulation.
Cols Service(const char* screenType, const char* bandNumber, const char* bandName, const char* modulation) {
  return {{Column::ScreenType, screenType},
          {Column::BandNumber, bandNumber},
          {Column::BandName, bandName},
          {Column::Modulation, modulation}};
}
const Cols kTerrestrial = Service("0", "30", "UHF", "OFDM");
const Cols kOneSeg = Service("1", "31", "UHF", "QPSK");
const Cols kBs = Service("2", "3", "BS", "8PSK");
const Cols kCs110 = Service("3", "10", "N-SAT110", "QPSK");
const Cols kSky = Service("4", "12", "JCSAT-3A", "QPSK");
const Cols kCable = Service("7", "36", "VHF", "64QAM");

MeasurementRow Row(const Cols& service, const Cols& readings) {
  std::vector<std::string> fields(30);
  fields[0] = "0001";
  for (const Cols* cols : {&service, &readings})
    for (const auto& [column, text] : *cols) fields[static_cast<std::size_t>(Index(column))] = text;
  return MeasurementRow::FromFields(fields);
}

Cols With(Cols service, std::pair<Column, std::string> change) {
  for (auto& c : service)
    if (c.first == change.first) c.second = change.second;
  return service;
}

struct Expect {
  Verdict verdict;
  Reason reason;
};

struct Case {
  const char* profile;  // a shipped profile's file stem, or one of the small profiles below
  DataKind kind;
  Cols service;
  Cols readings;
  ServiceClass serviceClass;
  std::vector<Expect> expect;  // reading by reading, as the screen shows them
};

constexpr Verdict P = Verdict::Pass, C = Verdict::Caution, F = Verdict::Fail, N = Verdict::None;
constexpr Reason In = Reason::Inside, NearMin = Reason::NearMinimum, NearMax = Reason::NearMaximum,
                 Below = Reason::BelowMinimum, Above = Reason::AboveMaximum, NoLimit = Reason::NoLimit,
                 NoMeas = Reason::NoMeasurement, Unreadable = Reason::Unreadable;

const LimitsProfile& Profile(const std::string& key) {
  static const std::map<std::string, LimitsProfile> profiles = [] {
    std::map<std::string, LimitsProfile> m;
    ProfileError error;
    for (const char* stem : {"outlet", "receiver-minimum"}) {
      LimitsProfile p;
      EXPECT_TRUE(LimitsProfile::Load(std::string(RXT4_SOURCE_DIR "/limits/") + stem + ".toml", p, error))
          << error.Text();
      m[stem] = p;
    }
    const std::pair<const char*, const char*> small[] = {
        {"only-max", "[terrestrial]\nlevel_max_dbuv = 81\nmargin_db = 3\n"},
        {"only-min", "[terrestrial]\nlevel_min_dbuv = 50\nmargin_db = 3\n"},
        {"no-margin", "[terrestrial]\nlevel_min_dbuv = 50\nlevel_max_dbuv = 81\n"},
    };
    for (const auto& [key, text] : small) {
      LimitsProfile p;
      EXPECT_TRUE(LimitsProfile::Parse(text, key, p, error)) << error.Text();
      m[key] = p;
    }
    return m;
  }();
  return profiles.at(key);
}

TEST(Verdict, EveryClassMarkerEdgeAndMargin) {
  using K = DataKind;
  using S = ServiceClass;
  const Column L = Column::Level, L2 = Column::Level2, Cn = Column::Cn, Cn2 = Column::Cn2, Mer = Column::Mer,
               Ber = Column::Ber, Ber2 = Column::Ber2;
  const Case cases[] = {
      // テレビ端子, 地上デジタル: level 50〜81 with 3 dB margins, C/N and MER from 24, BER to 2.0E-4.
      {"outlet", K::Level, kTerrestrial, {{L, "49.9"}}, S::Terrestrial, {{F, Below}}},
      {"outlet", K::Level, kTerrestrial, {{L, "50.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"outlet", K::Level, kTerrestrial, {{L, "53.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"outlet", K::Level, kTerrestrial, {{L, "53.1"}}, S::Terrestrial, {{P, In}}},
      {"outlet", K::Level, kTerrestrial, {{L, "77.9"}}, S::Terrestrial, {{P, In}}},
      {"outlet", K::Level, kTerrestrial, {{L, "78.0"}}, S::Terrestrial, {{C, NearMax}}},
      {"outlet", K::Level, kTerrestrial, {{L, "81.0"}}, S::Terrestrial, {{C, NearMax}}},
      {"outlet", K::Level, kTerrestrial, {{L, "81.1"}}, S::Terrestrial, {{F, Above}}},
      {"outlet", K::Level, kTerrestrial, {{L, " 65.5 "}}, S::Terrestrial, {{P, In}}},
      {"outlet", K::Level, kTerrestrial, {{L, "___._"}}, S::Terrestrial, {{F, Below}}},
      {"outlet", K::Level, kTerrestrial, {{L, "~~~.~"}}, S::Terrestrial, {{F, Above}}},
      {"outlet", K::Level, kTerrestrial, {{L, "---.-"}}, S::Terrestrial, {{N, NoMeas}}},
      {"outlet", K::Level, kTerrestrial, {{L, " ---.-"}}, S::Terrestrial, {{N, Unreadable}}},
      {"outlet", K::Level, kTerrestrial, {{L, "6x"}}, S::Terrestrial, {{N, Unreadable}}},
      {"outlet", K::Level, kTerrestrial, {{L, ""}}, S::Terrestrial, {{N, Unreadable}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "2.0E-4"}, {Cn, "27.1"}}, S::Terrestrial, {{P, In}, {P, In}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "2.1E-4"}, {Cn, "27.0"}}, S::Terrestrial, {{F, Above}, {C, NearMin}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "_._____"}, {Cn, "~~~.~"}}, S::Terrestrial, {{P, In}, {P, In}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "~.~~~~~"}, {Cn, "___._"}}, S::Terrestrial, {{F, Above}, {F, Below}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "-.-----"}, {Cn, "23.9"}}, S::Terrestrial, {{N, NoMeas}, {F, Below}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "0.0E-0"}, {Cn, "24.0"}}, S::Terrestrial, {{P, In}, {C, NearMin}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "20.0E-5"}, {Cn, "+27.1"}}, S::Terrestrial, {{P, In}, {P, In}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "0.00020001"}, {Cn, "2.71e1"}}, S::Terrestrial, {{F, Above}, {P, In}}},
      {"outlet", K::Ber, kTerrestrial, {{Ber, "2.0E-4x"}, {Cn, "1e"}}, S::Terrestrial,
       {{N, Unreadable}, {N, Unreadable}}},
      {"outlet", K::Constellation, kTerrestrial, {{Mer, "23.9"}}, S::Terrestrial, {{F, Below}}},
      {"outlet", K::Constellation, kTerrestrial, {{Mer, "24"}}, S::Terrestrial, {{C, NearMin}}},
      {"outlet", K::Constellation, kTerrestrial, {{Mer, "27.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"outlet", K::Constellation, kTerrestrial, {{Mer, "27.1"}}, S::Terrestrial, {{P, In}}},
      {"outlet", K::Level, Service("7", "35", "VHF", "OFDM"), {{L, "60.0"}}, S::Terrestrial, {{P, In}}},
      // ワンセグ: the BER only; its MER has no limit.
      {"outlet", K::Ber, kOneSeg, {{Ber, "2.0E-4"}, {Mer, "35.0"}}, S::OneSeg, {{P, In}, {N, NoLimit}}},
      {"outlet", K::Ber, kOneSeg, {{Ber, "2.1E-4"}, {Mer, "---.-"}}, S::OneSeg, {{F, Above}, {N, NoLimit}}},
      {"outlet", K::Constellation, kOneSeg, {{Mer, "30"}}, S::OneSeg, {{N, NoLimit}}},
      // BS and 110度CS: level 52〜81, C/N from 11.
      {"outlet", K::Level, kBs, {{L, "51.9"}}, S::Bs, {{F, Below}}},
      {"outlet", K::Level, kBs, {{L, "52.0"}}, S::Bs, {{C, NearMin}}},
      {"outlet", K::Level, kBs, {{L, "55.0"}}, S::Bs, {{C, NearMin}}},
      {"outlet", K::Level, kBs, {{L, "55.1"}}, S::Bs, {{P, In}}},
      {"outlet", K::Level, kBs, {{L, "81.1"}}, S::Bs, {{F, Above}}},
      {"outlet", K::Ber, kBs, {{Ber, "1.0E-5"}, {Cn, "10.9"}}, S::Bs, {{P, In}, {F, Below}}},
      {"outlet", K::Ber, kBs, {{Ber, "2.0E-4"}, {Cn, "11.0"}}, S::Bs, {{P, In}, {C, NearMin}}},
      {"outlet", K::Ber, kBs, {{Ber, "2.0E-4"}, {Cn, "14.1"}}, S::Bs, {{P, In}, {P, In}}},
      {"outlet", K::Level, Service("9", "18", "BS", "8PSK"), {{L, "60.0"}}, S::Bs, {{P, In}}},
      {"outlet", K::Level, Service("10", "5", "BS", "8PSK"), {{L, "52.0"}, {Cn, "10.9"}}, S::Bs,
       {{C, NearMin}, {F, Below}}},
      {"outlet", K::Level, kCs110, {{L, "77.9"}}, S::Cs110, {{P, In}}},
      {"outlet", K::Level, kCs110, {{L, "78.0"}}, S::Cs110, {{C, NearMax}}},
      {"outlet", K::Ber, kCs110, {{Ber, "~.~~~~~"}, {Cn, "14.0"}}, S::Cs110, {{F, Above}, {C, NearMin}}},
      {"outlet", K::Ber, Service("9", "16", " N-SAT110 ", "QPSK"), {{Ber, "4.0E-8"}, {Cn, "14.0"}}, S::Cs110,
       {{P, In}, {C, NearMin}}},
      // その他の通信衛星: level 57〜81, no C/N or BER limit; SKY rows by field row.
      {"outlet", K::Sky, kSky, {{L, "60.0"}, {L2, "56.9"}}, S::OtherCs, {{C, NearMin}, {F, Below}}},
      {"outlet", K::Sky, kSky, {{L, "60.1"}, {L2, "---.-"}}, S::OtherCs, {{P, In}, {N, NoMeas}}},
      {"outlet", K::Sky, With(kSky, {Column::ScreenType, "5"}), {{Ber, "3.4E-6"}, {Ber2, "_._____"}}, S::OtherCs,
       {{N, NoLimit}, {N, NoLimit}}},
      {"outlet", K::Sky, With(kSky, {Column::ScreenType, "6"}), {{Cn, "4.0"}, {Cn2, "25.0"}}, S::OtherCs,
       {{N, NoLimit}, {N, NoLimit}}},
      {"outlet", K::Level, Service("9", "20", "JCSAT-4A", "QPSK"), {{L, "~~~.~"}}, S::OtherCs, {{F, Above}}},
      {"outlet", K::Level, Service("10", "5", "JCSAT-3A", "QPSK"), {{L, "57.0"}, {Cn, "23.0"}}, S::OtherCs,
       {{C, NearMin}, {N, NoLimit}}},
      // ケーブル (QAM): the BER to 1.0E-4 only.
      {"outlet", K::Ber, kCable, {{Ber, "1.0E-4"}, {Cn, "38.0"}}, S::Cable, {{P, In}, {N, NoLimit}}},
      {"outlet", K::Ber, With(kCable, {Column::Modulation, "256QAM"}), {{Ber, "1.1E-4"}, {Cn, "30.0"}}, S::Cable,
       {{F, Above}, {N, NoLimit}}},
      {"outlet", K::Level, kCable, {{L, "85.0"}}, S::Cable, {{N, NoLimit}}},
      {"outlet", K::Constellation, kCable, {{Mer, "___._"}}, S::Cable, {{N, NoLimit}}},
      // Never judged: analogue, and rows the rule cannot place.
      {"outlet", K::Level, Service("8", "33", "VHF", "Analog"), {{L, "30.0"}}, S::Analogue, {{N, Reason::Analogue}}},
      {"outlet", K::Level, Service("11", "45", "CATV", "QPSK"), {{L, "95.3"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("0", "3", "UHF", "OFDM"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("2", "26", "BS", "8PSK"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("2", "25", "BS", "8PSK"), {{L, "60.0"}}, S::Bs, {{P, In}}},
      {"outlet", K::Level, Service("0", "26", "UHF", "OFDM"), {{L, "60.0"}}, S::Terrestrial, {{P, In}}},
      {"outlet", K::Level, Service("0", "25", "UHF", "OFDM"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("7", "35", "VHF", "QPSK"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("9", "20", " ", "QPSK"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      {"outlet", K::Level, Service("", "30", "UHF", "OFDM"), {{L, "60.0"}}, S::Unplaced, {{N, Reason::Unplaced}}},
      // Screens that show no reading.
      {"outlet", K::Level, Service("4", "12", "JCSAT-3A", "QPSK"), {{L, "10.0"}}, S::Unplaced, {}},
      {"outlet", K::Level, kOneSeg, {{L, "10.0"}}, S::Unplaced, {}},
      {"outlet", K::Ber, Service("8", "33", "VHF", "64QAM"), {{Ber, "1.0E-1"}}, S::Unplaced, {}},
      {"outlet", K::Sky, kCs110, {{L, "10.0"}}, S::Unplaced, {}},
      {"outlet", K::Constellation, kBs, {{Mer, "1.0"}}, S::Unplaced, {}},
      {"outlet", K::Spectrum, kTerrestrial, {{L, "10.0"}}, S::Unplaced, {}},
      {"outlet", K::Profile, kTerrestrial, {{L, "10.0"}}, S::Unplaced, {}},
      // 受信機入力 最低値: level 34〜89, C/N and MER from 22; satellites 48〜81.
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "33.9"}}, S::Terrestrial, {{F, Below}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "34.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "37.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "37.1"}}, S::Terrestrial, {{P, In}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "85.9"}}, S::Terrestrial, {{P, In}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "86.0"}}, S::Terrestrial, {{C, NearMax}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "89.0"}}, S::Terrestrial, {{C, NearMax}}},
      {"receiver-minimum", K::Level, kTerrestrial, {{L, "89.1"}}, S::Terrestrial, {{F, Above}}},
      {"receiver-minimum", K::Ber, kTerrestrial, {{Ber, "2.0E-4"}, {Cn, "21.9"}}, S::Terrestrial, {{P, In}, {F, Below}}},
      {"receiver-minimum", K::Ber, kTerrestrial, {{Ber, "2.0E-4"}, {Cn, "25.0"}}, S::Terrestrial,
       {{P, In}, {C, NearMin}}},
      {"receiver-minimum", K::Constellation, kTerrestrial, {{Mer, "22.0"}}, S::Terrestrial, {{C, NearMin}}},
      {"receiver-minimum", K::Constellation, kTerrestrial, {{Mer, "25.1"}}, S::Terrestrial, {{P, In}}},
      {"receiver-minimum", K::Ber, kOneSeg, {{Ber, "2.1E-4"}, {Mer, "5.0"}}, S::OneSeg, {{F, Above}, {N, NoLimit}}},
      {"receiver-minimum", K::Level, kBs, {{L, "47.9"}}, S::Bs, {{F, Below}}},
      {"receiver-minimum", K::Level, kBs, {{L, "48.0"}}, S::Bs, {{C, NearMin}}},
      {"receiver-minimum", K::Level, kBs, {{L, "51.1"}}, S::Bs, {{P, In}}},
      {"receiver-minimum", K::Ber, kCs110, {{Ber, "2.0E-4"}, {Cn, "14.1"}}, S::Cs110, {{P, In}, {P, In}}},
      {"receiver-minimum", K::Sky, kSky, {{L, "48.0"}, {L2, "47.9"}}, S::OtherCs, {{C, NearMin}, {F, Below}}},
      {"receiver-minimum", K::Ber, kCable, {{Ber, "1.1E-4"}, {Cn, "20.0"}}, S::Cable, {{F, Above}, {N, NoLimit}}},
      // One limit only: the markers beyond the other side pass; no margin, no 注意.
      {"only-max", K::Level, kTerrestrial, {{L, "___._"}}, S::Terrestrial, {{P, In}}},
      {"only-max", K::Level, kTerrestrial, {{L, "77.9"}}, S::Terrestrial, {{P, In}}},
      {"only-max", K::Level, kTerrestrial, {{L, "78.0"}}, S::Terrestrial, {{C, NearMax}}},
      {"only-min", K::Level, kTerrestrial, {{L, "~~~.~"}}, S::Terrestrial, {{P, In}}},
      {"only-min", K::Ber, kTerrestrial, {{Ber, "~.~~~~~"}, {Cn, "5.0"}}, S::Terrestrial, {{N, NoLimit}, {N, NoLimit}}},
      {"no-margin", K::Level, kTerrestrial, {{L, "50.0"}}, S::Terrestrial, {{P, In}}},
      {"no-margin", K::Level, kTerrestrial, {{L, "81.0"}}, S::Terrestrial, {{P, In}}},
      {"no-margin", K::Level, kTerrestrial, {{L, "49.9"}}, S::Terrestrial, {{F, Below}}},
  };

  MeasurementJudgement j;  // reused, as a caller judging many records does
  for (const Case& c : cases) {
    CDataSet record;
    record.kind = c.kind;
    record.row = Row(c.service, c.readings);
    const std::string what = std::string(c.profile) + " " + std::string(record.row.Line());
    SCOPED_TRACE(what);
    JudgeMeasurement(record, Profile(c.profile), j);
    ASSERT_EQ(j.readings.size(), c.expect.size());
    Verdict worst = Verdict::None;
    for (std::size_t i = 0; i < c.expect.size(); ++i) {
      EXPECT_EQ(j.readings[i].verdict, c.expect[i].verdict) << "reading " << i;
      EXPECT_EQ(j.readings[i].reason, c.expect[i].reason) << "reading " << i;
      worst = std::max(worst, c.expect[i].verdict);
    }
    if (!c.expect.empty()) {
      EXPECT_EQ(j.parts.front().serviceClass, c.serviceClass);
    }
    EXPECT_EQ(j.verdict, worst);
    if (c.expect.empty()) {
      EXPECT_EQ(j.reason, Reason::NoReading);
    }
    EXPECT_EQ(JudgeMeasurementVerdict(record, Profile(c.profile)), worst);
  }
}

// A SKY row is judged per field row, a multi-channel table per channel row; the
// measurement takes the worst, its reason from the first reading with that verdict.
TEST(Verdict, PartsAndTheWorstOfThem) {
  const LimitsProfile& outlet = Profile("outlet");
  CDataSet sky;
  sky.kind = DataKind::Sky;
  sky.row = Row(kSky, {{Column::Channel, " TP8 "}, {Column::Level, "60.0"}, {Column::Channel2, "13"},
                       {Column::Level2, "110.0"}});
  const MeasurementJudgement s = [&] {
    MeasurementJudgement j;
    JudgeMeasurement(sky, outlet, j);
    return j;
  }();
  ASSERT_EQ(s.parts.size(), 2u);
  EXPECT_EQ(s.parts[0].field, 1);
  EXPECT_EQ(s.parts[0].channel, "TP8");
  EXPECT_EQ(s.parts[0].verdict, Verdict::Caution);
  EXPECT_EQ(s.parts[1].field, 2);
  EXPECT_EQ(s.parts[1].channel, "13");
  EXPECT_EQ(s.parts[1].verdict, Verdict::Fail);
  EXPECT_EQ(s.readings[1].column, Column::Level2);
  EXPECT_EQ(s.verdict, Verdict::Fail);
  EXPECT_EQ(s.reason, Reason::AboveMaximum);

  CDataSet multi;
  multi.kind = DataKind::Multi;
  multi.rows = {Row(kBs, {{Column::Channel, "BS-1"}, {Column::Level, "60.0"}}),
                Row(Service("7", "30", "UHF", "Analog"), {{Column::Channel, "C13"}, {Column::Level, "40.0"}}),
                Row(kTerrestrial, {{Column::Channel, "27"}, {Column::Level, "81.0"}}),
                Row(kTerrestrial, {{Column::Channel, "28"}, {Column::Level, "---.-"}})};
  MeasurementJudgement m;
  JudgeMeasurement(multi, outlet, m);
  ASSERT_EQ(m.parts.size(), 4u);
  const Verdict partVerdicts[] = {Verdict::Pass, Verdict::None, Verdict::Caution, Verdict::None};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(m.parts[i].row, static_cast<int>(i + 1));
    EXPECT_EQ(m.parts[i].verdict, partVerdicts[i]) << i;
    EXPECT_EQ(m.parts[i].first, i);
    EXPECT_EQ(m.parts[i].count, 1u);
  }
  EXPECT_EQ(m.parts[1].serviceClass, ServiceClass::Analogue);
  EXPECT_EQ(m.verdict, Verdict::Caution);
  EXPECT_EQ(m.reason, Reason::NearMaximum);
  EXPECT_EQ(m.counts.pass, 1);
  EXPECT_EQ(m.counts.caution, 1);
  EXPECT_EQ(m.counts.none, 2);
  EXPECT_EQ(m.counts.noMeasurement, 1);
}

}  // namespace
