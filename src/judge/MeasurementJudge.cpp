#include "rxt4/judge/MeasurementJudge.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>

#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "FieldText.h"
#include "rxt4/judge/VerdictLineFormatter.h"

namespace rxt4 {
namespace {

using judge::Fields;

// The instrument's markers: texts it stores instead of a number (compared exactly).
constexpr std::string_view kNoMeasurement = "---.-";
constexpr std::string_view kBelowRange = "___._";
constexpr std::string_view kAboveRange = "~~~.~";
constexpr std::string_view kBerNoMeasurement = "-.-----";
constexpr std::string_view kBerBelowRange = "_._____";
constexpr std::string_view kBerAboveRange = "~.~~~~~";

// Readings are stored with one decimal (the BER with a mantissa of one decimal): a
// value this close to a limit or a margin's edge is on it.
constexpr double kEdgeDb = 1e-9;
constexpr double kEdgeBerRatio = 1e-9;

// What each kind's screen shows, by screen type (column 20).
constexpr Reading kLevelOnly[] = {Reading::Level};
constexpr Reading kLevelAndCn[] = {Reading::Level, Reading::Cn};
constexpr Reading kBerAndCn[] = {Reading::Ber, Reading::Cn};
constexpr Reading kBerAndMer[] = {Reading::Ber, Reading::Mer};
constexpr Reading kBerOnly[] = {Reading::Ber};
constexpr Reading kCnOnly[] = {Reading::Cn};
constexpr Reading kMerOnly[] = {Reading::Mer};

std::span<const Reading> ShownReadings(DataKind kind, long long screenType) {
  switch (kind) {
    case DataKind::Level:
      if (screenType == 10) return kLevelAndCn;
      if (screenType == 0 || screenType == 2 || screenType == 3 || screenType == 7 || screenType == 8 ||
          screenType == 9 || screenType == 11)
        return kLevelOnly;
      return {};
    case DataKind::Ber:
      if (screenType == 1) return kBerAndMer;
      if (screenType == 0 || screenType == 2 || screenType == 3 || screenType == 7 || screenType == 9) return kBerAndCn;
      return {};
    case DataKind::Sky:
      if (screenType == 4) return kLevelOnly;
      if (screenType == 5) return kBerOnly;
      if (screenType == 6) return kCnOnly;
      return {};
    case DataKind::Constellation:
      if (screenType == 0 || screenType == 1 || screenType == 7) return kMerOnly;
      return {};
    case DataKind::Multi:
      return kLevelOnly;
    case DataKind::None:
    case DataKind::Spectrum:
    case DataKind::Profile:
      return {};
  }
  return {};
}

// Where a field row holds a reading: the SKY row's second field row has its own columns.
Column ColumnOf(Reading reading, int field) {
  const bool second = field == 2;
  switch (reading) {
    case Reading::Level: return second ? Column::Level2 : Column::Level;
    case Reading::Cn: return second ? Column::Cn2 : Column::Cn;
    case Reading::Mer: return Column::Mer;
    case Reading::Ber: return second ? Column::Ber2 : Column::Ber;
  }
  return Column::Level;
}

ValueKind ReadValue(Reading reading, std::string_view stored, double& value) {
  const bool ber = reading == Reading::Ber;
  if (stored == (ber ? kBerNoMeasurement : kNoMeasurement)) return ValueKind::NoMeasurement;
  if (stored == (ber ? kBerBelowRange : kBelowRange)) return ValueKind::BelowRange;
  if (stored == (ber ? kBerAboveRange : kAboveRange)) return ValueKind::AboveRange;
  return judge::ReadNumber(stored, value) ? ValueKind::Number : ValueKind::Unreadable;
}

// The verdict of one reading (everything but its texts).
struct Core {
  ValueKind kind = ValueKind::NoMeasurement;
  double value = 0;
  std::optional<double> min, max;
  double marginDb = 0;
  Verdict verdict = Verdict::None;
  Reason reason = Reason::NoLimit;
};

Core JudgeReading(Reading reading, std::string_view stored, ServiceClass serviceClass, const ClassLimits& limits) {
  Core j;
  j.kind = ReadValue(reading, stored, j.value);
  if (serviceClass == ServiceClass::Analogue || serviceClass == ServiceClass::Unplaced) {
    j.reason = serviceClass == ServiceClass::Analogue ? Reason::Analogue : Reason::Unplaced;
    return j;
  }
  switch (reading) {
    case Reading::Level: j.min = limits.levelMin, j.max = limits.levelMax; break;
    case Reading::Cn: j.min = limits.cnMin; break;
    case Reading::Mer: j.min = limits.merMin; break;
    case Reading::Ber: j.max = limits.berMax; break;
  }
  if (!j.min && !j.max) return j;
  if (reading != Reading::Ber) j.marginDb = limits.marginDb;
  if (j.kind == ValueKind::NoMeasurement || j.kind == ValueKind::Unreadable) {
    j.reason = j.kind == ValueKind::NoMeasurement ? Reason::NoMeasurement : Reason::Unreadable;
    return j;
  }
  auto set = [&](Verdict verdict, Reason reason) {
    j.verdict = verdict;
    j.reason = reason;
    return j;
  };
  if (reading == Reading::Ber) {
    const bool above = j.kind == ValueKind::AboveRange ||
                       (j.kind == ValueKind::Number && j.value > *j.max * (1 + kEdgeBerRatio));
    return above ? set(Verdict::Fail, Reason::AboveMaximum) : set(Verdict::Pass, Reason::Inside);
  }
  // Out of the meter's range: below or above every number a limit can be.
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const double v = j.kind == ValueKind::BelowRange ? -kInfinity : j.kind == ValueKind::AboveRange ? kInfinity : j.value;
  if (j.min && v < *j.min - kEdgeDb) return set(Verdict::Fail, Reason::BelowMinimum);
  if (j.max && v > *j.max + kEdgeDb) return set(Verdict::Fail, Reason::AboveMaximum);
  if (j.marginDb > 0 && j.min && v <= *j.min + j.marginDb + kEdgeDb) return set(Verdict::Caution, Reason::NearMinimum);
  if (j.marginDb > 0 && j.max && v >= *j.max - j.marginDb - kEdgeDb) return set(Verdict::Caution, Reason::NearMaximum);
  return set(Verdict::Pass, Reason::Inside);
}

// Walks the parts and readings of a record: onPart(row, field, fields, class) before a
// part's readings, onReading(reading, column, stored, judged) for each.
template <typename OnPart, typename OnReading>
void Walk(const CDataSet& record, const LimitsProfile& profile, OnPart&& onPart, OnReading&& onReading) {
  // The graph kinds without a reading on their screens: nothing to read.
  if (record.kind == DataKind::Spectrum || record.kind == DataKind::Profile || record.kind == DataKind::None) return;
  // Rows are split only as far as the kind reads them: the service class needs the
  // screen type (column 20), the BER and the MER lie beyond it, a SKY row's second
  // field row beyond them.
  const int lastColumn = Index(record.kind == DataKind::Sky                                            ? Column::Cn2
                               : record.kind == DataKind::Ber || record.kind == DataKind::Constellation ? Column::Mer
                                                                                                        : Column::ScreenType);
  Fields fields{};
  auto judgeRow = [&](const MeasurementRow& row, int rowNumber) {
    judge::SplitFields(row.Line(), lastColumn, fields);
    // Which readings the screen shows: the screen reads the type leniently.
    const std::string_view typeText = fields[static_cast<std::size_t>(Index(Column::ScreenType))];
    long long screenType = 0;
    if (!judge::ReadCode(typeText, screenType)) screenType = ParseInt(typeText);
    const std::span<const Reading> shown = ShownReadings(record.kind, screenType);
    if (shown.empty()) return;
    const ServiceClass serviceClass = ClassOfRow(fields);
    const ClassLimits& limits = profile.Limits(serviceClass);
    const int fieldRows = record.kind == DataKind::Sky ? 2 : 1;
    for (int f = 1; f <= fieldRows; ++f) {
      const int field = record.kind == DataKind::Sky ? f : 0;
      onPart(rowNumber, field, fields, serviceClass);
      for (Reading reading : shown) {
        const Column column = ColumnOf(reading, field);
        const std::string_view stored = fields[static_cast<std::size_t>(Index(column))];
        onReading(reading, column, stored, JudgeReading(reading, stored, serviceClass, limits));
      }
    }
  };
  if (record.kind == DataKind::Multi) {
    for (std::size_t i = 0; i < record.rows.size(); ++i) judgeRow(record.rows[i], static_cast<int>(i + 1));
  } else if (!record.row.absent()) {
    judgeRow(record.row, 0);
  }
}

// A dB value as short as it reads back: 50, 24.5, 47.75.
std::string DbText(double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

}  // namespace

void JudgeMeasurement(const CDataSet& record, const LimitsProfile& profile, MeasurementJudgement& out) {
  std::size_t parts = 0, readings = 0;
  out.verdict = Verdict::None;
  out.reason = Reason::NoReading;
  out.counts = VerdictCounts{};
  Walk(
      record, profile,
      [&](int row, int field, const Fields& fields, ServiceClass serviceClass) {
        if (parts == out.parts.size()) out.parts.emplace_back();
        PartJudgement& p = out.parts[parts++];
        p.row = row;
        p.field = field;
        p.band = judge::Trimmed(fields[static_cast<std::size_t>(Index(field == 2 ? Column::BandName2 : Column::BandName))]);
        p.channel = judge::Trimmed(fields[static_cast<std::size_t>(Index(field == 2 ? Column::Channel2 : Column::Channel))]);
        p.serviceClass = serviceClass;
        p.verdict = Verdict::None;
        p.first = readings;
        p.count = 0;
      },
      [&](Reading reading, Column column, std::string_view stored, const Core& j) {
        if (readings == out.readings.size()) out.readings.emplace_back();
        ReadingResult& r = out.readings[readings++];
        r.reading = reading;
        r.column = column;
        r.kind = j.kind;
        r.value = j.kind == ValueKind::Number ? j.value : 0;
        r.stored = judge::Trimmed(stored);
        r.min = j.min;
        r.max = j.max;
        r.marginDb = j.marginDb;
        r.verdict = j.verdict;
        r.reason = j.reason;
        PartJudgement& p = out.parts[parts - 1];
        ++p.count;
        p.verdict = Worst(p.verdict, j.verdict);
        out.counts.Add(j.verdict, j.reason);
        if (j.verdict > out.verdict || readings == 1) out.reason = j.reason;
        out.verdict = Worst(out.verdict, j.verdict);
      });
  out.parts.resize(parts);
  out.readings.resize(readings);
}

Verdict JudgeMeasurementVerdict(const CDataSet& record, const LimitsProfile& profile, VerdictCounts* counts,
                                Reason* reason) {
  Verdict verdict = Verdict::None;
  Reason deciding = Reason::NoReading;
  bool first = true;
  Walk(
      record, profile, [](int, int, const Fields&, ServiceClass) {},
      [&](Reading, Column, std::string_view, const Core& j) {
        if (j.verdict > verdict || first) deciding = j.reason;
        verdict = Worst(verdict, j.verdict);
        first = false;
        if (counts) counts->Add(j.verdict, j.reason);
      });
  if (reason) *reason = deciding;
  return verdict;
}

bool Judged(const ReadingResult& r) { return r.min || r.max; }

std::string_view ReadingName(Reading reading, Language language) {
  switch (reading) {
    case Reading::Level: return Text(StringId::ReadingLevel, language);
    case Reading::Cn: return Text(StringId::ReadingCn, language);
    case Reading::Mer: return Text(StringId::ReadingMer, language);
    case Reading::Ber: return Text(StringId::ReadingBer, language);
  }
  return {};
}

std::string_view ReadingKey(Reading reading) {
  switch (reading) {
    case Reading::Level: return "level";
    case Reading::Cn: return "cn";
    case Reading::Mer: return "mer";
    case Reading::Ber: return "ber";
  }
  return {};
}

std::string_view ReadingUnit(Reading reading, Language language) {
  switch (reading) {
    case Reading::Level: return Text(StringId::UnitDbMicroVolt, language);
    case Reading::Cn:
    case Reading::Mer: return "dB";
    case Reading::Ber: return {};
  }
  return {};
}

std::string LimitNumberText(Reading reading, double value) {
  if (reading != Reading::Ber) return DbText(value);
  if (value == 0) return "0";
  // The instrument's own BER form: a mantissa of one decimal and the exponent (2.0E-4).
  int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  double mantissa = value / std::pow(10.0, exponent);
  if (std::fabs(mantissa) >= 9.95) {
    mantissa /= 10;
    ++exponent;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1fE%d", mantissa, exponent);
  return text;
}

std::string ValueText(const ReadingResult& r, Language language) {
  switch (r.kind) {
    case ValueKind::NoMeasurement: return std::string(Text(StringId::ValueNoMeasurement, language));
    case ValueKind::BelowRange: return std::string(Text(StringId::ValueBelowRange, language));
    case ValueKind::AboveRange: return std::string(Text(StringId::ValueAboveRange, language));
    case ValueKind::Unreadable: return "「" + DecodeSjis(r.stored) + "」";
    case ValueKind::Number: break;
  }
  std::string text = r.stored;
  const std::string_view unit = ReadingUnit(r.reading, language);
  if (!unit.empty()) {
    text += ' ';
    text += unit;
  }
  return text;
}

std::string LimitOrReasonText(const ReadingResult& r, Language language) {
  switch (r.reason) {
    case Reason::NoLimit: return std::string(Text(StringId::ReasonNoLimit, language));
    case Reason::NoMeasurement: return std::string(Text(StringId::ValueNoMeasurement, language));
    case Reason::Unreadable: return std::string(Text(StringId::ReasonUnreadable, language));
    case Reason::Analogue: return std::string(Text(StringId::ReasonAnalogue, language));
    case Reason::Unplaced: return std::string(Text(StringId::ReasonUnplaced, language));
    case Reason::NoReading: return {};
    case Reason::Inside:
    case Reason::NearMinimum:
    case Reason::NearMaximum:
    case Reason::BelowMinimum:
    case Reason::AboveMaximum: break;
  }
  if (r.min && r.max)
    return FillIn(Text(StringId::LimitRange, language), {LimitNumberText(r.reading, *r.min), LimitNumberText(r.reading, *r.max)});
  if (r.min) return FillIn(Text(StringId::LimitAtLeast, language), {LimitNumberText(r.reading, *r.min)});
  if (r.max) return FillIn(Text(StringId::LimitAtMost, language), {LimitNumberText(r.reading, *r.max)});
  return {};
}

std::string ReadingLine(const ReadingResult& r) {
  // Made once for each language: the string table's texts, no profile's limits.
  static const VerdictLineFormatter japanese{LimitsProfile(), Language::Japanese};
  static const VerdictLineFormatter english{LimitsProfile(), Language::English};
  std::string line;
  (CurrentLanguage() == Language::English ? english : japanese).Append(line, r);
  return line;
}

}  // namespace rxt4
