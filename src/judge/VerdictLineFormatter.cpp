#include "rxt4/judge/VerdictLineFormatter.h"

#include "rxt4/data/Strings.h"

namespace rxt4 {

VerdictLineFormatter::VerdictLineFormatter(const LimitsProfile& profile) {
  for (ServiceClass c : {ServiceClass::Terrestrial, ServiceClass::OneSeg, ServiceClass::Bs, ServiceClass::Cs110,
                         ServiceClass::OtherCs, ServiceClass::Cable, ServiceClass::Analogue, ServiceClass::Unplaced})
    classNames_[static_cast<std::size_t>(c)] = ServiceClassName(c);
  // The limit texts the profile can give, as the lines print them.
  for (ServiceClass c : kJudgedClasses) {
    const ClassLimits& l = profile.Limits(c);
    const std::pair<Reading, std::pair<std::optional<double>, std::optional<double>>> readings[] = {
        {Reading::Level, {l.levelMin, l.levelMax}},
        {Reading::Cn, {l.cnMin, std::nullopt}},
        {Reading::Mer, {l.merMin, std::nullopt}},
        {Reading::Ber, {std::nullopt, l.berMax}},
    };
    for (const auto& [reading, minMax] : readings) {
      if (!minMax.first && !minMax.second) continue;
      ReadingResult r;
      r.reading = reading;
      r.min = minMax.first;
      r.max = minMax.second;
      r.reason = Reason::Inside;
      limits_.push_back({reading, r.min, r.max, LimitOrReasonText(r)});
    }
  }
}

void VerdictLineFormatter::Append(std::string& out, const ReadingResult& r) const {
  if (Judged(r) && r.reason != Reason::NoMeasurement && r.reason != Reason::Unreadable) {
    for (const Limit& l : limits_) {
      if (l.reading == r.reading && l.min == r.min && l.max == r.max) {
        AppendReadingLine(out, r, l.text);
        return;
      }
    }
  }
  AppendReadingLine(out, r, LimitOrReasonText(r));
}

}  // namespace rxt4
