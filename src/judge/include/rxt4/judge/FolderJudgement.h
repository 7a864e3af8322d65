#pragma once
// A loaded data folder judged against a profile: the verdict of every tree item (a
// measurement's from its readings, a set folder item's and a kind root's the worst of
// what is under it), a summary per set folder (across the kinds) and the overall
// verdict, the worst of all. Judging again with another profile needs no reload: make
// a new FolderJudgement from the same model.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/judge/Verdict.h"

namespace rxt4 {

// What a check reports of one set folder (or, named "", of everything).
struct SetFolderSummary {
  std::string name;            // as the file system lists it
  Verdict verdict = Verdict::None;
  VerdictCounts measurements;  // measurements by verdict (reason: the deciding one)
  VerdictCounts readings;      // readings by verdict
};

// Hears every measurement as it is judged, set folder by set folder in the tree's
// order (set folders by name, then the kinds in tree order, then by number).
class JudgementObserver {
 public:
  virtual ~JudgementObserver() = default;
  virtual void Measurement(const SetFolderSummary& set, TransferKind kind, int item, const CDataSet& record,
                           const MeasurementJudgement& judgement) = 0;
  virtual void SetFolderDone(const SetFolderSummary& set) { (void)set; }
};

class FolderJudgement {
 public:
  FolderJudgement() = default;
  // Judges the measurements of the model's set folders (of the named ones only, when
  // onlySets is not empty; names as SetFolders() lists them). observer, when given,
  // hears every measurement with its readings; without it only verdicts are kept.
  FolderJudgement(const DataFolderModel& model, const LimitsProfile& profile,
                  const std::vector<std::string>& onlySets = {}, JudgementObserver* observer = nullptr);

  // The verdict of a tree item (measurement, set folder item or kind root); None for
  // the top, unknown numbers and items of set folders left out.
  Verdict ItemVerdict(int number) const;
  // The set folders judged, in the tree's order.
  const std::vector<SetFolderSummary>& SetFolders() const { return sets_; }
  // Everything judged (name "").
  const SetFolderSummary& Overall() const { return overall_; }

 private:
  std::vector<Verdict> items_;  // by item number
  std::vector<SetFolderSummary> sets_;
  SetFolderSummary overall_;
};

}  // namespace rxt4
