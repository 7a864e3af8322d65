#include "rxt4/judge/ChannelPoints.h"

#include <cstddef>
#include <map>
#include <utility>

namespace rxt4 {

std::vector<ChannelPoint> PointsOfSet(const DataFolderModel& model, std::string_view setFolder,
                                      const LimitsProfile& profile) {
  std::vector<ChannelPoint> points;
  MeasurementJudgement judgement;
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int i = 0; i < model.ChildCount(root); ++i) {
      const int setItem = model.ChildAt(root, i);
      if (model.Label(setItem) != setFolder) continue;
      // A set folder item's measurements follow it in numbering.
      const int count = model.ChildCount(setItem);
      for (int item = setItem + 1; item <= setItem + count; ++item) {
        const CDataSet* record = model.Record(item);
        if (!record) continue;
        JudgeMeasurement(*record, profile, judgement);
        const std::string dataName(record->firstRow().Field(Index(Column::DataName)));
        for (const PartJudgement& part : judgement.parts) {
          ChannelPoint& p = points.emplace_back();
          p.key = {kind, part.band, part.channel};
          p.item = item;
          p.row = part.row;
          p.field = part.field;
          p.dataName = dataName;
          p.serviceClass = part.serviceClass;
          p.verdict = part.verdict;
          const auto first = judgement.readings.begin() + static_cast<std::ptrdiff_t>(part.first);
          p.readings.assign(first, first + static_cast<std::ptrdiff_t>(part.count));
        }
      }
      break;  // a set folder appears once under a root
    }
  }
  return points;
}

namespace {

std::vector<ReadingChange> ChangesOf(const ChannelPoint* before, const ChannelPoint* after) {
  std::vector<ReadingChange> changes;
  if (before)
    for (const ReadingResult& r : before->readings) changes.push_back({r.reading, &r, nullptr, {}});
  if (after)
    for (const ReadingResult& r : after->readings) {
      ReadingChange* match = nullptr;
      for (ReadingChange& c : changes)
        if (c.reading == r.reading && !c.after) {
          match = &c;
          break;
        }
      if (!match) match = &changes.emplace_back(ReadingChange{r.reading, nullptr, nullptr, {}});
      match->after = &r;
    }
  for (ReadingChange& c : changes)
    if (c.before && c.after && c.before->kind == ValueKind::Number && c.after->kind == ValueKind::Number)
      c.change = c.after->value - c.before->value;
  return changes;
}

}  // namespace

std::vector<ComparedPoint> ComparePoints(const std::vector<ChannelPoint>& before,
                                         const std::vector<ChannelPoint>& after) {
  // after's points by key, in order of occurrence; each is taken once.
  std::map<PointKey, std::vector<const ChannelPoint*>> waiting;
  for (const ChannelPoint& p : after) waiting[p.key].push_back(&p);
  std::map<PointKey, std::size_t> taken;
  std::vector<const ChannelPoint*> matched(before.size(), nullptr);
  for (std::size_t i = 0; i < before.size(); ++i) {
    auto it = waiting.find(before[i].key);
    if (it == waiting.end()) continue;
    std::size_t& next = taken[before[i].key];
    if (next < it->second.size()) matched[i] = it->second[next++];
  }
  std::vector<bool> used(after.size(), false);
  for (const ChannelPoint* p : matched)
    if (p) used[static_cast<std::size_t>(p - after.data())] = true;

  std::vector<ComparedPoint> result;
  for (TransferKind kind : kAllTransferKinds) {
    for (std::size_t i = 0; i < before.size(); ++i)
      if (before[i].key.kind == kind)
        result.push_back({before[i].key, &before[i], matched[i], ChangesOf(&before[i], matched[i])});
    for (std::size_t i = 0; i < after.size(); ++i)
      if (after[i].key.kind == kind && !used[i])
        result.push_back({after[i].key, nullptr, &after[i], ChangesOf(nullptr, &after[i])});
  }
  return result;
}

}  // namespace rxt4
