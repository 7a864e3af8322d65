#include "rxt4/judge/Verdict.h"

#include "rxt4/data/Strings.h"

namespace rxt4 {

std::string_view VerdictText(Verdict verdict, Language language) {
  switch (verdict) {
    case Verdict::Pass: return Text(StringId::VerdictPass, language);
    case Verdict::Caution: return Text(StringId::VerdictCaution, language);
    case Verdict::Fail: return Text(StringId::VerdictFail, language);
    case Verdict::None: return Text(StringId::VerdictNone, language);
  }
  return {};
}

std::string_view VerdictKey(Verdict verdict) {
  switch (verdict) {
    case Verdict::Pass: return "pass";
    case Verdict::Caution: return "caution";
    case Verdict::Fail: return "fail";
    case Verdict::None: return "none";
  }
  return {};
}

std::string_view ReasonKey(Reason reason) {
  switch (reason) {
    case Reason::Inside: return "inside";
    case Reason::NearMinimum: return "near_minimum";
    case Reason::NearMaximum: return "near_maximum";
    case Reason::BelowMinimum: return "below_minimum";
    case Reason::AboveMaximum: return "above_maximum";
    case Reason::NoLimit: return "no_limit";
    case Reason::NoMeasurement: return "no_measurement";
    case Reason::Unreadable: return "unreadable";
    case Reason::Analogue: return "analogue";
    case Reason::Unplaced: return "unplaced_class";
    case Reason::NoReading: return "no_reading";
  }
  return {};
}

}  // namespace rxt4
