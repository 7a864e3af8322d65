#include "rxt4/judge/Trend.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>
#include <utility>

namespace rxt4 {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The set folder items of each set folder, kind by kind in the tree's order.
struct SetItems {
  TransferKind kind;
  int setItem;
};

std::unordered_map<std::string, std::vector<SetItems>> ItemsBySetFolder(const DataFolderModel& model) {
  std::unordered_map<std::string, std::vector<SetItems>> items;
  for (TransferKind kind : kAllTransferKinds) {
    const int root = DataFolderModel::RootNumber(kind);
    for (int i = 0; i < model.ChildCount(root); ++i) {
      const int setItem = model.ChildAt(root, i);
      items[model.Label(setItem)].push_back({kind, setItem});
    }
  }
  return items;
}

// Calls visit(kind, item, record, judgement) for every measurement of a set folder.
template <typename Visit>
void JudgeSetFolder(const DataFolderModel& model, const std::vector<SetItems>& items, const LimitsProfile& profile,
                    MeasurementJudgement& judgement, Visit&& visit) {
  for (const SetItems& s : items) {
    // A set folder item's measurements follow it in numbering.
    const int count = model.ChildCount(s.setItem);
    for (int item = s.setItem + 1; item <= s.setItem + count; ++item) {
      const CDataSet* record = model.Record(item);
      if (!record) continue;
      JudgeMeasurement(*record, profile, judgement);
      visit(s.kind, item, *record, judgement);
    }
  }
}

void SetLimits(TrendSeries& series, const LimitsProfile& profile) {
  const ClassLimits& limits = profile.Limits(series.serviceClass);
  switch (series.query.reading) {
    case Reading::Level:
      series.min = limits.levelMin;
      series.max = limits.levelMax;
      break;
    case Reading::Cn: series.min = limits.cnMin; break;
    case Reading::Mer: series.min = limits.merMin; break;
    case Reading::Ber: series.max = limits.berMax; break;
  }
  series.marginDb = series.query.reading == Reading::Ber ? 0 : limits.marginDb;
}

}  // namespace

bool SameBand(std::string_view asked, std::string_view stored) {
  asked = Trimmed(asked);
  stored = Trimmed(stored);
  return asked.size() == stored.size() &&
         std::equal(asked.begin(), asked.end(), stored.begin(), [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool SameChannel(std::string_view asked, std::string_view stored) {
  asked = Trimmed(asked);
  stored = Trimmed(stored);
  if (asked == stored) return true;
  if (!AllDigits(asked) || !AllDigits(stored)) return false;
  auto significant = [](std::string_view digits) {
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
  };
  return significant(asked) == significant(stored);
}

std::map<std::string, std::string> ReadMeasuredAt(const std::filesystem::path& dataFolder,
                                                  const std::vector<std::string>& setFolders,
                                                  std::vector<RecordError>* refused) {
  std::map<std::string, std::string> dates;
  for (const std::string& name : setFolders) {
    JobRecordRead read = ReadJobRecord(dataFolder / name);
    if (read.error && refused) refused->push_back(std::move(read.error));
    if (!read.record.measuredAt.empty()) dates.emplace(name, std::move(read.record.measuredAt));
  }
  return dates;
}

std::vector<TrendVisit> VisitOrder(const DataFolderModel& model, const std::map<std::string, std::string>& measuredAt) {
  // Undated visits by name (the model lists set folders so), then dated ones by
  // their date, ties by name.
  std::vector<TrendVisit> order;
  for (const std::string& name : model.SetFolders()) {
    const auto date = measuredAt.find(name);
    order.push_back({name, date == measuredAt.end() ? std::string() : date->second});
  }
  std::stable_sort(order.begin(), order.end(), [](const TrendVisit& a, const TrendVisit& b) {
    if (a.measuredAt.empty() || b.measuredAt.empty()) return a.measuredAt.empty() && !b.measuredAt.empty();
    return a.measuredAt < b.measuredAt;
  });
  return order;
}

TrendSeries BuildTrend(const DataFolderModel& model, const TrendQuery& query, const LimitsProfile& profile,
                       const std::map<std::string, std::string>& measuredAt) {
  TrendSeries series;
  series.query = query;
  const auto items = ItemsBySetFolder(model);

  const std::vector<TrendVisit> order = VisitOrder(model, measuredAt);
  MeasurementJudgement judgement;
  for (const TrendVisit& visit : order) {
    const auto found = items.find(visit.setFolder);
    if (found == items.end()) continue;
    const std::size_t before = series.points.size();
    JudgeSetFolder(model, found->second, profile, judgement,
                   [&](TransferKind kind, int item, const CDataSet& record, const MeasurementJudgement& j) {
                     if (query.kind != TransferKind::None && kind != query.kind) return;
                     for (const PartJudgement& part : j.parts) {
                       if (!SameBand(query.band, part.band) || !SameChannel(query.channel, part.channel)) continue;
                       for (std::size_t i = part.first; i < part.first + part.count; ++i) {
                         if (j.readings[i].reading != query.reading) continue;
                         TrendPoint& p = series.points.emplace_back();
                         p.visit = series.visits.size();
                         p.kind = kind;
                         p.item = item;
                         p.number = record.index;
                         p.row = part.row;
                         p.field = part.field;
                         p.dataName = std::string(Trimmed(record.firstRow().Field(Index(Column::DataName))));
                         p.band = part.band;
                         p.channel = part.channel;
                         p.serviceClass = part.serviceClass;
                         p.result = j.readings[i];
                       }
                     }
                   });
    if (series.points.size() > before) series.visits.push_back(visit);
  }
  if (!series.points.empty()) series.serviceClass = series.points.front().serviceClass;
  SetLimits(series, profile);
  return series;
}

std::vector<PointKey> TrendPlaces(const DataFolderModel& model, const LimitsProfile& profile,
                                  std::optional<Reading> reading) {
  std::vector<PointKey> places;
  std::set<std::pair<std::string, std::string>> seen;
  const auto items = ItemsBySetFolder(model);
  MeasurementJudgement judgement;
  for (const std::string& name : model.SetFolders()) {
    const auto found = items.find(name);
    if (found == items.end()) continue;
    JudgeSetFolder(model, found->second, profile, judgement,
                   [&](TransferKind kind, int, const CDataSet&, const MeasurementJudgement& j) {
                     for (const PartJudgement& part : j.parts) {
                       bool shows = !reading.has_value();
                       for (std::size_t i = part.first; i < part.first + part.count && !shows; ++i)
                         shows = j.readings[i].reading == *reading;
                       if (shows && seen.emplace(part.band, part.channel).second)
                         places.push_back({kind, part.band, part.channel});
                     }
                   });
  }
  return places;
}

TrendAxis AxisOf(const TrendSeries& series) {
  TrendAxis axis;
  axis.logarithmic = series.query.reading == Reading::Ber;
  std::vector<double> values;
  for (const TrendPoint& p : series.points)
    if (p.result.kind == ValueKind::Number && (!axis.logarithmic || p.result.value > 0)) values.push_back(p.result.value);
  if (series.min) {
    values.push_back(*series.min);
    if (series.marginDb > 0) values.push_back(*series.min + series.marginDb);
  }
  if (series.max) {
    values.push_back(*series.max);
    if (series.marginDb > 0) values.push_back(*series.max - series.marginDb);
  }
  if (axis.logarithmic) {
    double low = 1e-4, high = 1e-3;
    if (!values.empty()) {
      low = *std::min_element(values.begin(), values.end());
      high = *std::max_element(values.begin(), values.end());
    }
    // Whole decades with room: a value on a decade gets the next one.
    axis.low = std::pow(10.0, std::floor(std::log10(low)) - 1);
    axis.high = std::min(1.0, std::pow(10.0, std::floor(std::log10(high)) + 1));
    if (axis.high <= axis.low) axis.low = axis.high / 10;
    return axis;
  }
  if (values.empty()) values.push_back(0);
  double low = *std::min_element(values.begin(), values.end());
  double high = *std::max_element(values.begin(), values.end());
  constexpr double kLeastSpanDb = 10;
  if (high - low < kLeastSpanDb) {
    const double middle = (low + high) / 2;
    low = middle - kLeastSpanDb / 2;
    high = middle + kLeastSpanDb / 2;
  }
  // A tenth of the span of room on either side, out to whole 5 dB steps.
  const double room = (high - low) / 10;
  axis.low = std::floor((low - room) / 5) * 5;
  axis.high = std::ceil((high + room) / 5) * 5;
  return axis;
}

double PlotValue(const ReadingResult& result, const TrendAxis& axis) {
  // Readings without a number sit a little inside the edge, leaving room for the
  // arrow that tells below from above the range.
  constexpr double kEdgeInset = 0.06;
  auto inside = [&](double fraction) {
    if (!axis.logarithmic) return axis.low + fraction * (axis.high - axis.low);
    return std::pow(10.0, std::log10(axis.low) + fraction * (std::log10(axis.high) - std::log10(axis.low)));
  };
  switch (result.kind) {
    case ValueKind::Number:
      if (axis.logarithmic && result.value <= 0) return inside(kEdgeInset);
      return std::clamp(result.value, axis.low, axis.high);
    case ValueKind::AboveRange: return inside(1 - kEdgeInset);
    case ValueKind::BelowRange:
    case ValueKind::NoMeasurement:
    case ValueKind::Unreadable: return inside(kEdgeInset);
  }
  return axis.low;
}

std::vector<std::size_t> TrendLinePoints(const TrendSeries& series) {
  std::vector<std::size_t> line;
  for (std::size_t i = 0; i < series.points.size(); ++i) {
    const TrendPoint& p = series.points[i];
    if (p.result.kind != ValueKind::Number) continue;
    if (!line.empty() && series.points[line.back()].visit == p.visit) continue;
    line.push_back(i);
  }
  return line;
}

}  // namespace rxt4
