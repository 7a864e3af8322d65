#pragma once
// A loaded data folder judged against a profile: the verdict of every tree item (a
// measurement's from its readings, a set folder item's and a kind root's the worst of
// what is under it), a summary per set folder (across the kinds) and the overall
// verdict, the worst of all. Judging again with another profile needs no reload: make
// a new FolderJudgement from the same model.
//
// Set folders are judged side by side by a few threads, which the constructor starts
// and joins; the result does not depend on how many.

#include <cstddef>
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

// Hears every measurement with its readings, and every set folder once it is judged.
class JudgementObserver {
 public:
  virtual ~JudgementObserver() = default;
  // The measurements of one set folder, in the tree's order (kinds in tree order, then
  // by number), all from the thread judging that set folder. Set folders are judged
  // side by side: an observer keeps what it makes of them apart, by set (the set
  // folder's place among those judged, from 0), and shares nothing else unguarded.
  // summary is the set folder's, still being made (its name is final).
  virtual void Measurement(std::size_t set, const SetFolderSummary& summary, TransferKind kind, int item,
                           const CDataSet& record, const MeasurementJudgement& judgement) = 0;
  // A set folder judged whole: on the thread that made the FolderJudgement, one set
  // folder after the other in the tree's order (by name), after all its measurements.
  virtual void SetFolderDone(std::size_t set, const SetFolderSummary& summary) {
    (void)set;
    (void)summary;
  }
};

struct JudgeOptions {
  // Threads judging set folders side by side (1: all in the calling thread; never
  // more than there are set folders); 0 takes the number of processors, at most 4,
  // and one thread for fewer than 16 set folders per thread.
  int threads = 0;
};

class FolderJudgement {
 public:
  FolderJudgement() = default;
  // Judges the measurements of the model's set folders (of the named ones only, when
  // onlySets is not empty; names as SetFolders() lists them). observer, when given,
  // hears every measurement with its readings; without it only verdicts are kept.
  FolderJudgement(const DataFolderModel& model, const LimitsProfile& profile,
                  const std::vector<std::string>& onlySets = {}, JudgementObserver* observer = nullptr,
                  const JudgeOptions& options = {});

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
