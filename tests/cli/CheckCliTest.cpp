// rxt4 check on a data folder built by hand: one row of each service class and each
// marker, judged against the shipped default, a user's own profile and a broken one.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../common/RunRxt4.h"
#include "rxt4/data/Sjis.h"

namespace {

namespace fs = std::filesystem;
using rxt4::test::Outcome;
using rxt4::test::RunRxt4;

// A table row: the given columns (index, text) of 30, the rest empty.
std::string Row(std::vector<std::pair<int, std::string>> columns) {
  std::vector<std::string> fields(30);
  for (const auto& [i, text] : columns) fields[static_cast<std::size_t>(i)] = text;
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
  return line + "\n";
}

// A row of a service: number, name, screen type, band number, band name, modulation,
// then its readings.
std::string Measured(const char* no, const char* name, const char* type, const char* band, const char* bandName,
                     const char* modulation, const std::vector<std::pair<int, std::string>>& readings) {
  // The instrument's files hold Shift-JIS.
  std::vector<std::pair<int, std::string>> columns = {{0, no},         {1, rxt4::EncodeSjis(name)}, {20, type}, {14, band},
                                                      {2, bandName}, {8, modulation},             {3, "1"}};
  columns.insert(columns.end(), readings.begin(), readings.end());
  return Row(columns);
}

class CheckCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string h = "header\n";
    // 0601: every class and marker.
    Put("D/0601/LEVEL/0601.CSV",
        h + Measured("1", "地デジ", "0", "30", "UHF", "OFDM", {{6, "65.0"}}) +
            Measured("2", "地デジ弱", "0", "30", "UHF", "OFDM", {{6, "___._"}}) +
            Measured("3", "BS", "2", "3", "BS", "8PSK", {{6, "53.5"}}) +
            Measured("4", "110CS", "3", "10", "N-SAT110", "QPSK", {{6, "---.-"}}) +
            Measured("5", "CATV", "7", "36", "VHF", "64QAM", {{6, "70.0"}}) +
            Measured("6", "アナログ", "8", "33", "VHF", "Analog", {{6, "60.0"}}) +
            Measured("7", "上り", "11", "45", "CATV", "QPSK", {{6, "95.0"}}) +
            Measured("8", "他衛星", "9", "20", "JCSAT-4A", "QPSK", {{6, "~~~.~"}}));
    Put("D/0601/LEVEL/0601.CNT", "8\n2.00");
    Put("D/0601/BER/0601.CSV", h + Measured("1", "ワンセグ", "1", "31", "UHF", "QPSK", {{21, "2.1E-4"}, {22, "30.0"}}) +
                                   Measured("2", "ケーブル", "7", "36", "VHF", "256QAM", {{21, "1.0E-4"}, {7, "35.0"}}) +
                                   Measured("3", "BS C/N", "2", "3", "BS", "8PSK", {{21, "_._____"}, {7, "10.9"}}));
    Put("D/0601/BER/0601.CNT", "3\n2.00");
    Put("D/0601/SKY/0601.CSV", h + Measured("1", "スカパー", "4", "12", "JCSAT-3A", "QPSK",
                                            {{6, "62.0"}, {23, "JCSAT-4A"}, {24, "13"}, {26, "abc"}}));
    Put("D/0601/SKY/0601.CNT", "1\n2.00");
    Put("D/0601/MULTI/01.CSV", h + Measured("00101", "UHF一括", "7", "30", "UHF", "OFDM", {{6, "80.0"}, {3, "27"}, {19, "2"}}) +
                                   Measured("00102", "UHF一括", "7", "30", "UHF", "OFDM", {{6, "60.0"}, {3, "28"}, {19, "2"}}));
    Put("D/0601/MULTI/COUNT.CNT", "1\n2.00");
    // 0602: all good.
    Put("D/0602/LEVEL/0602.CSV", h + Measured("1", "良好", "0", "30", "UHF", "OFDM", {{6, "70.0"}}));
    Put("D/0602/LEVEL/0602.CNT", "1\n2.00");
    Put("D/0602/CONSTEL/0602.CSV", h + Measured("1", "MER", "0", "30", "UHF", "64QAM", {{22, "30.0"}}));
    Put("D/0602/CONSTEL/0602.CNT", "1\n2.00");
    // The user's settings folder, with a profile of their own and a broken one.
    Put("config/RXT4_Viewer/strict.toml", "name = \"厳しめ\"\n[terrestrial]\nlevel_min_dbuv = 66\n");
    Put("bad.toml", "name = \"壊れた\"\n[terrestrial]\nlevel_min_dbuv = \"50\"\n");
  }

  void Put(const std::string& relative, const std::string& bytes) {
    const fs::path path = dir_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  Outcome Check(const std::string& args) {
    return RunRxt4(dir_, "check " + args, "XDG_CONFIG_HOME='" + (dir_ / "config").string() + "' ");
  }

  rxt4::test::TempFolder temp_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  fs::path dir_ = temp_.path();
};

TEST_F(CheckCli, PrintsWhatIsNotGoodEnoughAndFailsOnAFail) {
  const Outcome run = Check("D");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "");
  const fs::path shipped = fs::canonical(RXT4_BIN_DIR).parent_path() / "share/rxt4-viewer/limits/outlet.toml";
  EXPECT_EQ(run.out,
            "判定基準: テレビ端子 (" + shipped.string() + ")\n"
            "0601 レベル測定データ 2:地デジ弱 地上デジタル レベル 測定範囲未満 不合格 (50〜81)\n"
            "0601 レベル測定データ 3:BS BS レベル 53.5 dBμV 注意 (52〜81)\n"
            "0601 レベル測定データ 4:110CS 110度CS レベル 測定なし 判定なし (測定なし)\n"
            "0601 レベル測定データ 8:他衛星 その他の通信衛星 レベル 測定範囲超過 不合格 (57〜81)\n"
            "0601 BER測定データ 1:ワンセグ ワンセグ BER 2.1E-4 不合格 (2.0E-4 以下)\n"
            "0601 BER測定データ 3:BS C/N BS C/N 10.9 dB 不合格 (11 以上)\n"
            "0601 スカパー測定データ 1:スカパー #2 ch 13 その他の通信衛星 レベル 「abc」 判定なし (数値ではありません)\n"
            "0601 多チャンネル測定データ 1:UHF一括 #1 ch 27 地上デジタル レベル 80.0 dBμV 注意 (50〜81)\n"
            "0601: 不合格 (測定 13 件: 合格 3 / 注意 2 / 不合格 4 / 判定なし 4、測定なしの読み値 1)\n"
            "0602: 合格 (測定 2 件: 合格 2 / 注意 0 / 不合格 0 / 判定なし 0、測定なしの読み値 0)\n"
            "全体: 不合格 (測定 15 件: 合格 5 / 注意 2 / 不合格 4 / 判定なし 4、測定なしの読み値 1)\n");

  // Every reading with --verbose: 20 of them, the passes and those without a limit too.
  const Outcome verbose = Check("D --verbose");
  EXPECT_EQ(verbose.status, 1);
  EXPECT_EQ(std::count(verbose.out.begin(), verbose.out.end(), '\n'), 1 + 20 + 3);
  for (const char* line : {"0601 レベル測定データ 1:地デジ 地上デジタル レベル 65.0 dBμV 合格 (50〜81)\n",
                           "0601 レベル測定データ 5:CATV ケーブル (QAM) レベル 70.0 dBμV 判定なし (基準なし)\n",
                           "0601 レベル測定データ 6:アナログ アナログ レベル 60.0 dBμV 判定なし (アナログは判定しません)\n",
                           "0601 レベル測定データ 7:上り 区分不明 レベル 95.0 dBμV 判定なし (区分を決められません)\n",
                           "0601 BER測定データ 1:ワンセグ ワンセグ MER 30.0 dB 判定なし (基準なし)\n",
                           "0601 BER測定データ 2:ケーブル ケーブル (QAM) BER 1.0E-4 合格 (1.0E-4 以下)\n",
                           "0601 BER測定データ 3:BS C/N BS BER 測定範囲未満 合格 (2.0E-4 以下)\n",
                           "0601 スカパー測定データ 1:スカパー #1 ch 1 その他の通信衛星 レベル 62.0 dBμV 合格 (57〜81)\n",
                           "0602 コンスタレーションデータ 1:MER 地上デジタル MER 30.0 dB 合格 (24 以上)\n"})
    EXPECT_NE(verbose.out.find(line), std::string::npos) << line;

  // Only the good set folder: nothing fails.
  const Outcome good = Check("D --set 0602");
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.out.substr(good.out.find('\n') + 1),
            "0602: 合格 (測定 2 件: 合格 2 / 注意 0 / 不合格 0 / 判定なし 0、測定なしの読み値 0)\n"
            "全体: 合格 (測定 2 件: 合格 2 / 注意 0 / 不合格 0 / 判定なし 0、測定なしの読み値 0)\n");
}

TEST_F(CheckCli, ProfilesByNameFromTheSettingsFolderOrByFile) {
  // The user's own profile, by the name it gives itself: 65.0 is below its 66.
  const Outcome strict = Check("D --set 0602 --set 0601 --limits 厳しめ");
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.out.substr(0, strict.out.find('\n')),
            "判定基準: 厳しめ (" + (dir_ / "config/RXT4_Viewer/strict.toml").string() + ")");
  EXPECT_NE(strict.out.find("\n0601 レベル測定データ 1:地デジ 地上デジタル レベル 65.0 dBμV 不合格 (66 以上)\n"),
            std::string::npos);
  // Its only limit is the terrestrial minimum: the MER is not judged.
  EXPECT_NE(strict.out.find("\n0602: 合格 (測定 2 件: 合格 1 / 注意 0 / 不合格 0 / 判定なし 1、"), std::string::npos);

  const Outcome receiver = Check("D --limits receiver-minimum --set 0601");
  EXPECT_NE(receiver.out.find("判定基準: 受信機入力 最低値 ("), std::string::npos);
  // 53.5 dBμV from BS and 80.0 dBμV from the terrestrial multi-channel row now pass.
  EXPECT_NE(receiver.out.find("\n0601: 不合格 (測定 13 件: 合格 5 / 注意 0 / 不合格 4 / 判定なし 4、"), std::string::npos)
      << receiver.out;

  // A profile that does not parse: refused with its file, line and reason; nothing judged.
  const Outcome bad = Check("D --limits bad.toml");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "rxt4 check: 判定基準を読めません: bad.toml:3: 「level_min_dbuv」は数値で書いてください\n");
  const Outcome missing = Check("D --limits 無い");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err.rfind("rxt4 check: 判定基準「無い」が見つかりません（探した場所: " +
                                  (dir_ / "config/RXT4_Viewer").string() + ", ",
                              0),
            0u)
      << missing.err;

  const Outcome list = Check("--list-limits");
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find('\n')),
            "厳しめ\t" + (dir_ / "config/RXT4_Viewer/strict.toml").string() + "\t");
  EXPECT_NE(list.out.find("\nテレビ端子\t"), std::string::npos);
  EXPECT_NE(list.out.find("\n受信機入力 最低値\t"), std::string::npos);
}

TEST_F(CheckCli, JsonForScripts) {
  const Outcome run = Check("D --format json");
  EXPECT_EQ(run.status, 1);
  Put("out.json", run.out);
  // Read back by an independent JSON reader.
  const std::string script =
      "import json; d = json.load(open('out.json')); s = d['set_folders']; f = s[0]['findings']; "
      "print(d['verdict'], d['limits']['name'], d['measurements'], [x['name'] for x in s], len(f), f[1], "
      "s[1]['findings'], s[1]['verdict'])";
  const int status = std::system(("cd '" + dir_.string() + "' && python3 -c \"" + script + "\" >py.txt 2>&1").c_str());
  const std::string read = rxt4::test::ReadAll(dir_ / "py.txt");
  EXPECT_EQ(status, 0) << read;
  EXPECT_NE(read.find(
                "fail テレビ端子 {'pass': 5, 'caution': 2, 'fail': 4, 'none': 4, 'no_measurement': 1} ['0601', '0602'] 8 "
                "{'kind': 'level', 'item': 3, 'data_name': 'BS', 'channel_row': None, 'field_row': None, 'channel': '1', "
                "'service_class': 'bs', 'reading': 'level', 'stored': '53.5', 'value': 53.5, 'value_kind': 'number', "
                "'verdict': 'caution', 'reason': 'near_minimum', 'min': 52, 'max': 81, 'margin_db': 3} [] pass\n"),
            std::string::npos)
      << read;
}

TEST_F(CheckCli, BadArguments) {
  for (const char* args : {"", "D --format xml", "D --limits", "D E", "D --bogus", "--list-limits D"}) {
    const Outcome run = Check(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.err.rfind("rxt4 check: ", 0), 0u) << args;
    EXPECT_NE(run.err.find("使い方: rxt4 check DATA_FOLDER"), std::string::npos) << args;
  }
  const Outcome noSet = Check("D --set 0603");
  EXPECT_EQ(noSet.status, 2);
  EXPECT_EQ(noSet.err, "rxt4 check: セットフォルダ「0603」が D にありません\n");
  const Outcome noFolder = Check("E");
  EXPECT_EQ(noFolder.status, 2);
  EXPECT_EQ(noFolder.err, "rxt4 check: データフォルダがありません: E\n");
  const Outcome help = Check("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("使い方: rxt4 check DATA_FOLDER", 0), 0u);
}

}  // namespace
