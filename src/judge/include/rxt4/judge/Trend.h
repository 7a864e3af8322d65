#pragma once
// One place followed across visits: the readings of a band and channel in every set
// folder of a data folder, in the order the visits were made, each judged against a
// limits profile, with the limits that apply to the reading. The trend chart (viewer
// and command line) and `rxt4 trend`'s table are drawn from it.
//
// The order of the visits: a set folder's job record gives its 測定日時; set folders
// without one go first, in the tree's (name) order, as a download made before job
// records were kept is the older one; then those with one, by it (ties by name).
// Set folders where the place was not measured are left out.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/judge/ChannelPoints.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"

namespace rxt4 {

// What to follow. band and channel are Shift-JIS bytes as PointKey holds them; they
// match a point's without surrounding blanks, the band regardless of ASCII case, and
// a channel of digits also by its number ("027" is "27").
struct TrendQuery {
  std::string band;
  std::string channel;
  Reading reading = Reading::Level;
  TransferKind kind = TransferKind::None;  // None: the place in every kind that shows the reading
};

// One visit of the series.
struct TrendVisit {
  std::string setFolder;   // the set folder's name as listed
  std::string measuredAt;  // the job record's 測定日時 as written there; empty without one
};

// One reading of the place on one visit.
struct TrendPoint {
  std::size_t visit = 0;  // into TrendSeries::visits
  TransferKind kind = TransferKind::None;
  int item = 0;           // the measurement's tree item
  int number = 0;         // the measurement's number in its kind (the tree's "N:")
  int row = 0;            // multi-channel: the channel row; otherwise 0
  int field = 0;          // SKY: the field row; otherwise 0
  std::string dataName;   // Shift-JIS bytes as stored
  std::string band;       // the band and channel as the measurement shows them: stored
  std::string channel;    // bytes, trimmed (the query may have spelt them otherwise)
  ServiceClass serviceClass = ServiceClass::Unplaced;
  ReadingResult result;   // value (or marker), verdict and the limits applied
};

struct TrendSeries {
  TrendQuery query;
  std::vector<TrendVisit> visits;  // the visits with at least one point, in order
  std::vector<TrendPoint> points;  // visit by visit; within a visit in the tree's order
  // The class of the place (its first point's) and the profile's limits for the
  // reading in that class; margin 0 for the BER.
  ServiceClass serviceClass = ServiceClass::Unplaced;
  std::optional<double> min;
  std::optional<double> max;
  double marginDb = 0;
};

// The value axis a chart of a series needs: every number of the series, its limits
// and their margin lines inside, with room around them (a span of at least 10 dB);
// for the BER logarithmic, from decade to decade.
struct TrendAxis {
  double low = 0;
  double high = 1;
  bool logarithmic = false;
};
TrendAxis AxisOf(const TrendSeries& series);

// Where a chart puts a reading on the axis: its number; a reading below the meter's
// range (and a BER of 0) just inside the low end, above it just inside the high end
// (the chart's arrows say which, its verdict mark whether that is good); no
// measurement and an unreadable value just inside the low end, marked 判定なし.
double PlotValue(const ReadingResult& result, const TrendAxis& axis);

// The points a chart's line goes through, as indices into series.points: the first
// measured number of each visit. A visit's other readings of the place (a level
// measurement and a multi-channel row of the same channel) are marks only, so the
// line runs from visit to visit and never up and down within one.
std::vector<std::size_t> TrendLinePoints(const TrendSeries& series);

// The 測定日時 of those set folders of a data folder whose job record gives one, by
// set folder name. A record that cannot be read gives none; refused, when given,
// receives why (the caller says so).
std::map<std::string, std::string> ReadMeasuredAt(const std::filesystem::path& dataFolder,
                                                  const std::vector<std::string>& setFolders,
                                                  std::vector<RecordError>* refused = nullptr);

// Every set folder of the model in visit order (above). measuredAt: the 測定日時 of
// the set folders that have one, by set folder name.
std::vector<TrendVisit> VisitOrder(const DataFolderModel& model, const std::map<std::string, std::string>& measuredAt);

TrendSeries BuildTrend(const DataFolderModel& model, const TrendQuery& query, const LimitsProfile& profile,
                       const std::map<std::string, std::string>& measuredAt = {});

// The places of a data folder that show the reading (any reading when none is given),
// each once, in order of first occurrence: what a trend can be asked for.
std::vector<PointKey> TrendPlaces(const DataFolderModel& model, const LimitsProfile& profile,
                                  std::optional<Reading> reading = std::nullopt);

// True when a point's band or channel is the one asked for (the matching rule above).
bool SameBand(std::string_view asked, std::string_view stored);
bool SameChannel(std::string_view asked, std::string_view stored);

}  // namespace rxt4
