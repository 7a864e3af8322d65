#include "rxt4/judge/CompareRows.h"

#include <cstdio>

#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

std::vector<CompareRow> CompareRows(const std::vector<ComparedPoint>& compared) {
  std::vector<CompareRow> rows;
  const std::string missing(Text(StringId::CompareMissing));
  for (const ComparedPoint& point : compared) {
    const std::string band = DecodeSjis(point.key.band), channel = DecodeSjis(point.key.channel);
    for (const ReadingChange& c : point.readings) {
      CompareRow& row = rows.emplace_back();
      row.kind = point.key.kind;
      row.band = band;
      row.channel = channel;
      row.reading = c.reading;
      row.beforeMissing = c.before == nullptr;
      row.afterMissing = c.after == nullptr;
      row.before = c.before ? ValueText(*c.before) : missing;
      row.after = c.after ? ValueText(*c.after) : missing;
      if (c.before) row.beforeVerdict = c.before->verdict;
      if (c.after) row.afterVerdict = c.after->verdict;
      if (c.change && c.reading != Reading::Ber) {
        // The stored values carry one decimal; so does their difference.
        char text[32];
        std::snprintf(text, sizeof text, "%+.1f dB", *c.change == 0 ? 0.0 : *c.change);
        row.change = text;
      }
    }
  }
  return rows;
}

}  // namespace rxt4
