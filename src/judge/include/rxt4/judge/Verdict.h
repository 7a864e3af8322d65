#pragma once
// The verdict of a reading, and why it was given; the worst-of rule that makes a
// measurement's verdict from its readings, a set folder's from its measurements and
// a whole check's from everything; and the counts a summary shows.

#include <string_view>

#include "rxt4/data/Strings.h"

namespace rxt4 {

// Ordered from the least to the most serious: the worst of several is the largest.
// 判定なし ranks lowest, so a measurement with one judged reading takes that reading's
// verdict and only a measurement with none judged stays 判定なし.
enum class Verdict : unsigned char {
  None = 0,     // 判定なし: no limit applies, or there is nothing to judge
  Pass = 1,     // 合格: inside the limits by more than the margin
  Caution = 2,  // 注意: inside the limits, within the margin of one of them
  Fail = 3,     // 不合格: outside the limits
};

constexpr Verdict Worst(Verdict a, Verdict b) { return a < b ? b : a; }

// Why a reading got its verdict.
enum class Reason : unsigned char {
  Inside,         // 合格: inside by more than the margin
  NearMinimum,    // 注意: at most the margin above the minimum
  NearMaximum,    // 注意: at most the margin below the maximum
  BelowMinimum,   // 不合格
  AboveMaximum,   // 不合格
  NoLimit,        // 判定なし: the profile sets no limit for this reading of this class
  NoMeasurement,  // 判定なし: the instrument stored "no measurement" (counted apart)
  Unreadable,     // 判定なし: the stored text is neither a number nor a marker
  Analogue,       // 判定なし: analogue rows are not judged
  Unplaced,       // 判定なし: the row's service class cannot be told
  NoReading,      // 判定なし: (a measurement) its screen shows no reading that is judged
};

// The verdict's word from the string table: 合格, 注意, 不合格, 判定なし.
std::string_view VerdictText(Verdict verdict, Language language = CurrentLanguage());
// Stable ASCII names for files and scripts: "pass", "caution", "fail", "none".
std::string_view VerdictKey(Verdict verdict);
// Stable ASCII names of the reasons: "inside", "near_minimum", "near_maximum",
// "below_minimum", "above_maximum", "no_limit", "no_measurement", "unreadable",
// "analogue", "unplaced_class", "no_reading".
std::string_view ReasonKey(Reason reason);

// How many readings (or measurements) got each verdict. noMeasurement counts those of
// `none` that are 判定なし because the instrument stored "no measurement".
struct VerdictCounts {
  int pass = 0;
  int caution = 0;
  int fail = 0;
  int none = 0;
  int noMeasurement = 0;

  void Add(Verdict verdict, Reason reason = Reason::NoLimit) {
    switch (verdict) {
      case Verdict::Pass: ++pass; break;
      case Verdict::Caution: ++caution; break;
      case Verdict::Fail: ++fail; break;
      case Verdict::None:
        ++none;
        if (reason == Reason::NoMeasurement) ++noMeasurement;
        break;
    }
  }
  void Add(const VerdictCounts& other) {
    pass += other.pass;
    caution += other.caution;
    fail += other.fail;
    none += other.none;
    noMeasurement += other.noMeasurement;
  }
  int total() const { return pass + caution + fail + none; }
  // The worst verdict counted; None when nothing but 判定なし was counted.
  Verdict worst() const {
    return fail ? Verdict::Fail : caution ? Verdict::Caution : pass ? Verdict::Pass : Verdict::None;
  }
};

}  // namespace rxt4
