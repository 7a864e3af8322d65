// rxt4 trend on a hand-built data folder of four visits: the CSV table of one channel
// across them, the chart as a PNG file, and what a wrong band, channel or reading says.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "../judge/VisitsFolder.h"
#include "../common/RunRxt4.h"

namespace {

namespace fs = std::filesystem;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;
using rxt4::test::ReadAll;

class TrendCli : public ::testing::Test {
 protected:
  void SetUp() override { rxt4::test::PutVisits(folder_); }
  // The user's settings folder is empty: the installed profiles are used.
  Outcome Run(const std::string& args) {
    return RunRxt4(folder_.path(), args, "XDG_CONFIG_HOME='" + (folder_.path() / "config").string() + "' ");
  }
  rxt4::test::TempFolder folder_;
};

constexpr const char* kHeader =
    "set_folder,measured_at,kind,number,data_name,band,channel,service_class,reading,stored,value,value_kind,"
    "verdict,reason,min,max,margin_db\n";

TEST_F(TrendCli, TableOfOneChannelAcrossTheVisits) {
  const Outcome level = Run("trend . --band uhf --channel 27");
  EXPECT_EQ(level.status, 0) << level.err;
  EXPECT_EQ(level.out, std::string(kHeader) +
                           "0412,,level,1,home,UHF,27,terrestrial,level,45.5,45.5,number,fail,below_minimum,50,81,3\n"
                           "0413,,level,1,home,UHF,27,terrestrial,level,52.0,52,number,caution,near_minimum,50,81,3\n"
                           "0501,,level,1,home,UHF,27,terrestrial,level,58.0,58,number,pass,inside,50,81,3\n"
                           "0502,,level,1,home,UHF,27,terrestrial,level,___._,,below_range,fail,below_minimum,50,81,3\n");
  const Outcome cn = Run("trend . --band UHF --channel 27 --reading cn --limits receiver-minimum --out cn.csv");
  EXPECT_EQ(cn.status, 0) << cn.err;
  EXPECT_EQ(cn.out, "");
  const std::string table = ReadAll(folder_.path() / "cn.csv");
  EXPECT_EQ(table.substr(0, table.find('\n') + 1), kHeader);
  EXPECT_NE(table.find("\n0412,,ber,1,home,UHF,27,terrestrial,cn,20.5,20.5,number,"), std::string::npos) << table;
  EXPECT_NE(table.find("\n0501,,ber,1,home,UHF,27,terrestrial,cn,30.5,30.5,number,"), std::string::npos) << table;

  // A job record's 測定日時 dates its visit, which goes after the undated ones.
  folder_.Put("0412/job.toml", "measured_at = \"2026-06-01 09:00\"\n");
  const Outcome dated = Run("trend . --band UHF --channel 27");
  EXPECT_EQ(dated.status, 0) << dated.err;
  EXPECT_EQ(dated.out.substr(dated.out.rfind('\n', dated.out.size() - 2) + 1),
            "0412,2026-06-01 09:00,level,1,home,UHF,27,terrestrial,level,45.5,45.5,number,fail,below_minimum,50,81,3\n");
}

// The sample's two visits: UHF 21 in the bedroom was too weak before the amplifier was
// adjusted (0412) and good after (0413), in the level measurement and in the
// multi-channel row alike.
TEST_F(TrendCli, TheSamplesVisitsShowTheAdjustment) {
  ASSERT_EQ(Run("sample sample").status, 0);
  const Outcome level = Run("trend sample --band UHF --channel 21");
  ASSERT_EQ(level.status, 0) << level.err;
  ASSERT_EQ(level.out.rfind(kHeader, 0), 0u) << level.out;
  // Each line's set folder, stored value and verdict (the series itself is judge_tests').
  std::vector<std::string> seen;
  std::istringstream lines(level.out.substr(std::string_view(kHeader).size()));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t value = line.find(",level,", line.find(",terrestrial,")) + 7;
    seen.push_back(line.substr(0, 4) + " " + line.substr(value, 4) + " " + line.substr(line.find(",number,") + 8, 4));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"0412 44.6 fail", "0412 39.4 fail", "0413 63.8 pass", "0413 65.4 pass"}));
}

TEST_F(TrendCli, ChartIsAPngPicture) {
  const Outcome run = Run("trend . --band UHF --channel 27 --format png --out trend.png");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string png = ReadAll(folder_.path() / "trend.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // IHDR: width and height, big-endian, 960 × 540.
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\xc0\0\0\x02\x1c", 8));
}

TEST_F(TrendCli, WrongArgumentsAndPlacesAreSaidSo) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {".", "--band と --channel を指定してください"},
      {". --band UHF --channel 27 --reading snr", "--reading には level、cn、mer、ber のどれかを指定してください: snr"},
      {". --band UHF --channel 27 --format pdf", "--format には csv か png を指定してください: pdf"},
      {". --band UHF --channel 27 --format png", "png は --out で書き出すファイルを指定してください"},
      {". --band UHF --channel 27 --limits nosuch", "nosuch"},
      {"missing --band UHF --channel 27", "データフォルダがありません: missing"},
      {". --band BS --channel 27", "バンド「BS」の測定がありません（あるバンド: UHF）"},
      {". --band UHF --channel 13", "バンド UHF にチャンネル「13」の測定がありません（あるチャンネル: 27、16）"},
      {". --band UHF --channel 16 --reading mer", "バンド UHF チャンネル 16 のMERを表示する測定がありません"},
      {". --band UHF --channel 27 --out nofolder/t.csv", "nofolder/t.csv を書き出せません: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const Outcome run = Run(std::string("trend ") + c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(folder_.path() / "nofolder"));
}

}  // namespace
