// Limits profiles and measurement rows judged from arbitrary bytes: the bytes before
// the first NUL are a profile's TOML text, the bytes after it one table row judged as
// every kind would judge it. A profile is either refused with a line and a reason or
// read whole; every reading's verdict agrees with its reason.

#include <string>
#include <string_view>

#include "FuzzEntry.h"
#include "rxt4/data/CDataSet.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"

namespace rxt4::fuzz {
namespace {

// The verdict a reason stands for.
Verdict VerdictOf(Reason reason) {
  switch (reason) {
    case Reason::Inside: return Verdict::Pass;
    case Reason::NearMinimum:
    case Reason::NearMaximum: return Verdict::Caution;
    case Reason::BelowMinimum:
    case Reason::AboveMaximum: return Verdict::Fail;
    case Reason::NoLimit:
    case Reason::NoMeasurement:
    case Reason::Unreadable:
    case Reason::Analogue:
    case Reason::Unplaced:
    case Reason::NoReading: return Verdict::None;
  }
  return Verdict::None;
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzJudge) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = bytes.find('\0');
  const std::string_view profileText = bytes.substr(0, nul);
  const std::string_view rowText = nul == std::string_view::npos ? std::string_view() : bytes.substr(nul + 1);

  LimitsProfile profile;
  ProfileError error;
  if (!LimitsProfile::Parse(profileText, "fuzz.toml", profile, error)) {
    if (error.reason.empty() || error.line < 1) __builtin_trap();
  }
  // The row on its own bytes, so that a read past them is caught.
  auto line = std::make_shared<const std::string>(rowText.substr(0, rowText.find('\n')));
  const MeasurementRow row(line, 0, static_cast<std::uint32_t>(line->size()));
  MeasurementJudgement judgement;
  for (DataKind kind : {DataKind::Level, DataKind::Ber, DataKind::Sky, DataKind::Constellation, DataKind::Multi,
                        DataKind::Spectrum}) {
    CDataSet record;
    record.kind = kind;
    if (kind == DataKind::Multi) record.rows = {row, row};
    else record.row = row;
    JudgeMeasurement(record, profile, judgement);
    Verdict worst = Verdict::None;
    for (const ReadingResult& r : judgement.readings) {
      if (VerdictOf(r.reason) != r.verdict) __builtin_trap();
      if (r.verdict != Verdict::None && !Judged(r)) __builtin_trap();
      worst = Worst(worst, r.verdict);
      if (ReadingLine(r).empty()) __builtin_trap();
    }
    if (worst != judgement.verdict || JudgeMeasurementVerdict(record, profile) != worst) __builtin_trap();
  }
  return 0;
}

}  // namespace rxt4::fuzz
