// A loaded data folder judged whole: every tree item's verdict, the summaries per set
// folder, and judging again with another profile without loading again.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/judge/FolderJudgement.h"

namespace {

using namespace rxt4;
using rxt4::test::TempFolder;

// A table row: record number, data name, then the given columns (index, text).
std::string Line(const char* no, const char* name, std::vector<std::pair<int, const char*>> columns) {
  std::vector<std::string> fields(30);
  fields[0] = no;
  fields[1] = name;
  for (const auto& [i, text] : columns) fields[static_cast<std::size_t>(i)] = text;
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
  return line + "\n";
}

// Terrestrial level rows (screen type 0, band 30) and terrestrial BER rows.
std::string Level(const char* no, const char* level) {
  return Line(no, "lv", {{6, level}, {8, "OFDM"}, {14, "30"}, {20, "0"}});
}
std::string Ber(const char* no, const char* ber) {
  return Line(no, "ber", {{7, "30.0"}, {8, "OFDM"}, {14, "30"}, {20, "0"}, {21, ber}});
}

// What the observer hears, set folder by set folder: each set folder's measurements,
// then (from the constructing thread, in order) the set folder done.
class Recorder : public JudgementObserver {
 public:
  void Measurement(std::size_t set, const SetFolderSummary&, TransferKind kind, int item, const CDataSet& record,
                   const MeasurementJudgement& judgement) override {
    perSet[set].push_back(std::to_string(static_cast<int>(kind)) + " " + std::to_string(item) + " " +
                          record.indexText() + " " + std::string(VerdictKey(judgement.verdict)));
  }
  void SetFolderDone(std::size_t set, const SetFolderSummary& summary) override {
    for (const std::string& m : perSet[set]) seen.push_back(summary.name + " " + m);
    seen.push_back(summary.name + " done");
  }
  std::vector<std::string> perSet[2];
  std::vector<std::string> seen;
};

TEST(FolderJudgement, ItemsSetFoldersAndOverallTakeTheWorst) {
  TempFolder d;
  const char* header = "h\n";
  d.Put("10/LEVEL/10.CSV", std::string(header) + Level("1", "60.0") + Level("2", "35.0"));
  d.Put("10/LEVEL/10.cnt", "2\n2.00");
  d.Put("10/BER/10.CSV", std::string(header) + Ber("1", "1.0E-5"));
  d.Put("10/BER/10.cnt", "1\n2.00");
  d.Put("9/LEVEL/9.CSV", std::string(header) + Level("1", "51.0") + Level("2", "---.-"));
  d.Put("9/LEVEL/9.cnt", "2\n2.00");
  d.Put("9/SPECTRUM/9.CSV", std::string(header) + Line("1", "sp", {{20, "0"}}));
  d.Put("9/SPECTRUM/9.cnt", "1\n2.00");
  DataFolderModel model;
  NullLoadObserver quiet;
  model.Load(d.path(), quiet);
  // Items, numbered set folder by set folder: level root 1 > "9" (8) > 9, 10; spectrum
  // root 4 > "9" (11) > 12; level root 1 > "10" (13) > 14, 15; BER root 2 > "10" (16) > 17.
  ASSERT_EQ(model.Label(8), "9");
  ASSERT_EQ(model.Label(11), "9");
  ASSERT_EQ(model.Label(13), "10");
  ASSERT_EQ(model.Label(16), "10");

  LimitsProfile outlet, receiver;
  ProfileError error;
  ASSERT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/outlet.toml", outlet, error));
  ASSERT_TRUE(LimitsProfile::Load(RXT4_SOURCE_DIR "/limits/receiver-minimum.toml", receiver, error));

  Recorder recorder;
  const FolderJudgement byOutlet(model, outlet, {}, &recorder, JudgeOptions{2});
  const Verdict P = Verdict::Pass, C = Verdict::Caution, F = Verdict::Fail, N = Verdict::None;
  // 51.0 注意, ---.- 判定なし; 60.0 合格, 35.0 不合格; BER 合格; spectrum 判定なし.
  const std::vector<std::pair<int, Verdict>> items = {
      {0, N}, {1, F}, {8, C}, {9, C}, {10, N}, {13, F}, {14, P}, {15, F},
      {2, P}, {16, P}, {17, P}, {4, N}, {11, N}, {12, N}, {3, N}, {99, N}};
  for (const auto& [item, verdict] : items) EXPECT_EQ(byOutlet.ItemVerdict(item), verdict) << item;
  ASSERT_EQ(byOutlet.SetFolders().size(), 2u);
  EXPECT_EQ(byOutlet.SetFolders()[0].name, "9");
  EXPECT_EQ(byOutlet.SetFolders()[0].verdict, C);
  EXPECT_EQ(byOutlet.SetFolders()[0].measurements.caution, 1);
  EXPECT_EQ(byOutlet.SetFolders()[0].measurements.none, 2);
  EXPECT_EQ(byOutlet.SetFolders()[0].measurements.noMeasurement, 1);
  EXPECT_EQ(byOutlet.SetFolders()[1].verdict, F);
  EXPECT_EQ(byOutlet.Overall().verdict, F);
  EXPECT_EQ(byOutlet.Overall().measurements.total(), 6);
  EXPECT_EQ(byOutlet.Overall().readings.total(), 6);  // 2 + 2 levels, BER and C/N
  EXPECT_EQ(recorder.seen, (std::vector<std::string>{"9 0 9 1 caution", "9 0 10 2 none", "9 3 12 1 none", "9 done",
                                                      "10 0 14 1 pass", "10 0 15 2 fail", "10 1 17 1 pass",
                                                      "10 done"}));

  // Another profile, the same model: against 34〜89 with 3 dB margins 35.0 is 注意, 51.0 合格.
  const FolderJudgement byReceiver(model, receiver);
  EXPECT_EQ(byReceiver.ItemVerdict(15), C);
  EXPECT_EQ(byReceiver.ItemVerdict(9), P);
  EXPECT_EQ(byReceiver.ItemVerdict(1), C);
  EXPECT_EQ(byReceiver.Overall().verdict, C);

  // Only one set folder: the other's items keep no verdict.
  const FolderJudgement onlyNine(model, outlet, {"9"});
  ASSERT_EQ(onlyNine.SetFolders().size(), 1u);
  EXPECT_EQ(onlyNine.ItemVerdict(1), C);
  EXPECT_EQ(onlyNine.ItemVerdict(15), N);
  EXPECT_EQ(onlyNine.Overall().verdict, C);
}

}  // namespace
