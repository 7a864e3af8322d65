#pragma once
// A set folder's readings as points: one per judged part of a measurement (the row of
// a single-row kind, each channel row of a multi-channel table, each field row of a
// SKY row), keyed by what tells the same place on two visits: the kind, the band and
// the channel the instrument shows. Comparing a visit before and after an adjustment,
// and following one channel across every visit, are built on it.

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"
#include "rxt4/judge/Verdict.h"

namespace rxt4 {

struct PointKey {
  TransferKind kind = TransferKind::None;
  std::string band;     // Shift-JIS bytes as stored, without surrounding blanks
  std::string channel;  // likewise

  friend bool operator==(const PointKey&, const PointKey&) = default;
  friend std::strong_ordering operator<=>(const PointKey&, const PointKey&) = default;
};

struct ChannelPoint {
  PointKey key;
  int item = 0;          // the measurement's tree item in the model it came from
  int row = 0;           // multi-channel: the channel row (from 1); otherwise 0
  int field = 0;         // SKY: the field row (1 or 2); otherwise 0
  std::string dataName;  // the measurement's data name, Shift-JIS bytes as stored
  ServiceClass serviceClass = ServiceClass::Unplaced;
  Verdict verdict = Verdict::None;      // the part's
  std::vector<ReadingResult> readings;  // the part's readings, in the judge's order
};

// The points of one set folder of a loaded model, in the tree's order (kinds in tree
// order, then by measurement number, then by part). Measurements whose screen shows
// no reading that is judged (spectrum, delay profile) give none. Empty when the model
// holds no set folder of that name.
std::vector<ChannelPoint> PointsOfSet(const DataFolderModel& model, std::string_view setFolder,
                                      const LimitsProfile& profile);

// One reading on both visits. before or after is null when that visit has no such
// reading; change is after minus before when both are numbers.
struct ReadingChange {
  Reading reading = Reading::Level;
  const ReadingResult* before = nullptr;
  const ReadingResult* after = nullptr;
  std::optional<double> change;
};

// One place on both visits; before or after is null when only the other visit has it.
struct ComparedPoint {
  PointKey key;
  const ChannelPoint* before = nullptr;
  const ChannelPoint* after = nullptr;
  std::vector<ReadingChange> readings;  // before's readings in order, then those only after has
};

// Matches the points of two visits by key. A key met several times in one visit pairs
// in order of occurrence (the first with the first). The result goes kind by kind in
// the tree's order; within a kind, before's points in their order, then the points
// only after has in theirs. The results point into before and after, which must
// outlive them.
std::vector<ComparedPoint> ComparePoints(const std::vector<ChannelPoint>& before,
                                         const std::vector<ChannelPoint>& after);

}  // namespace rxt4
