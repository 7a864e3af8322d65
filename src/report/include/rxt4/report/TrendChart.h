#pragma once
// The trend chart of one place across visits as a PNG picture (rxt4 trend --format
// png): the readings in visit order joined by a line, each marked by its verdict in
// shape and colour (○ 合格, △ 注意, × 不合格, – 判定なし, so that it reads in grey
// too), the profile's limits as solid lines and their margins as dashed ones, the set
// folders (and 測定日時) along the bottom. The viewer draws the same chart with Qt.

#include <filesystem>
#include <string>
#include <string_view>

#include "rxt4/judge/Trend.h"

namespace rxt4 {

struct TrendChartSize {
  int widthPx = 960;
  int heightPx = 540;
};

// Writes the chart to path through a staged file. False with the system's reason (or
// cairo's) in *reason when it could not be written; an earlier file stays as it was.
bool WriteTrendChartPng(const TrendSeries& series, std::string_view profileName, const std::filesystem::path& path,
                        std::string* reason, TrendChartSize size = {});

// The chart's title: "UHF 27 のレベルの推移" (band and channel decoded from Shift-JIS).
std::string TrendChartTitle(const TrendSeries& series);

}  // namespace rxt4
