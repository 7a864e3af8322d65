#include "rxt4/judge/VerdictLineFormatter.h"

#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

PreparedText::PreparedText(std::string_view text) {
  std::size_t from = 0;
  for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i + 1)) {
    if (i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      pieces_.push_back(text.substr(from, i - from));
      slots_.push_back(text[i + 1] - '1');
      from = i + 2;
      ++i;
    }
  }
  pieces_.push_back(text.substr(from));
}

void PreparedText::AppendTo(std::string& out, std::span<const std::string_view> values) const {
  out += pieces_[0];
  for (std::size_t i = 1; i < pieces_.size(); ++i) {
    // A placeholder without a value stays as it is, as FillIn leaves it.
    const std::size_t slot = static_cast<std::size_t>(slots_[i - 1]);
    if (slot < values.size()) out += values[slot];
    else (out += '%') += static_cast<char>('1' + slot);
    out += pieces_[i];
  }
}

VerdictLineFormatter::VerdictLineFormatter(const LimitsProfile& profile, Language language)
    : language_(language), line_(Text(StringId::ReadingVerdict, language)) {
  for (ServiceClass c : {ServiceClass::Terrestrial, ServiceClass::OneSeg, ServiceClass::Bs, ServiceClass::Cs110,
                         ServiceClass::OtherCs, ServiceClass::Cable, ServiceClass::Analogue, ServiceClass::Unplaced})
    classNames_[static_cast<std::size_t>(c)] = ServiceClassName(c, language_);
  for (Reading r : {Reading::Level, Reading::Cn, Reading::Mer, Reading::Ber}) {
    readingNames_[static_cast<std::size_t>(r)] = ReadingName(r, language_);
    units_[static_cast<std::size_t>(r)] = ReadingUnit(r, language_);
  }
  for (Verdict v : {Verdict::None, Verdict::Pass, Verdict::Caution, Verdict::Fail})
    verdicts_[static_cast<std::size_t>(v)] = VerdictText(v, language_);
  markers_ = {Text(StringId::ValueNoMeasurement, language_), Text(StringId::ValueBelowRange, language_), Text(StringId::ValueAboveRange, language_)};
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
      limits_.push_back({reading, r.min, r.max, LimitOrReasonText(r, language_)});
    }
  }
}

void VerdictLineFormatter::Append(std::string& out, const ReadingResult& r) const {
  // The value: the stored number with its unit, or what the marker means.
  std::string value;
  std::string_view shown;
  switch (r.kind) {
    case ValueKind::NoMeasurement: shown = markers_[0]; break;
    case ValueKind::BelowRange: shown = markers_[1]; break;
    case ValueKind::AboveRange: shown = markers_[2]; break;
    case ValueKind::Unreadable:
      value = ValueText(r, language_);
      shown = value;
      break;
    case ValueKind::Number: {
      const std::string_view unit = units_[static_cast<std::size_t>(r.reading)];
      value.reserve(r.stored.size() + 1 + unit.size());
      value += r.stored;
      if (!unit.empty()) {
        value += ' ';
        value += unit;
      }
      shown = value;
      break;
    }
  }
  std::string computed;
  std::string_view limit;
  const bool byLimit = Judged(r) && r.reason != Reason::NoMeasurement && r.reason != Reason::Unreadable;
  for (const Limit& l : limits_) {
    if (byLimit && l.reading == r.reading && l.min == r.min && l.max == r.max) {
      limit = l.text;
      break;
    }
  }
  if (limit.empty()) {
    computed = LimitOrReasonText(r, language_);
    limit = computed;
  }
  const std::string_view values[] = {readingNames_[static_cast<std::size_t>(r.reading)], shown,
                                     verdicts_[static_cast<std::size_t>(r.verdict)], limit};
  line_.AppendTo(out, values);
}

}  // namespace rxt4
