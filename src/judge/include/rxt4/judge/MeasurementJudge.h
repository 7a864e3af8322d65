#pragma once
// The judging of one measurement record: each reading its screen shows, with its
// value, the limit that applied, its verdict and the reason; grouped by row part (the
// row of a single-row kind, each channel row of a multi-channel table, each of the two
// field rows of a SKY row); and the measurement's verdict, the worst of its readings.
//
// Which readings are judged is what the instrument's screen shows for the kind and
// screen type (column 20):
//   level:          types 0, 2, 3, 7, 8, 9, 11 the level; type 10 the level and C/N
//   BER:            types 0, 2, 3, 7, 9 the BER and C/N; type 1 the BER and MER
//   SKY:            both field rows: type 4 the levels, 5 the BERs, 6 the C/Ns
//   constellation:  types 0, 1, 7 the MER
//   multi-channel:  every channel row's level
//   spectrum, delay profile, and any other screen type: nothing (判定なし)
//
// A reading is judged against its service class's limits (ServiceClass.h) by these
// rules, written once:
//   - "---.-" / "-.-----" (no measurement): 判定なし, counted apart.
//   - No limit set for the reading: 判定なし.
//   - A level, C/N or MER below the meter's range ("___._") is below every minimum
//     and inside every maximum; above the range ("~~~.~") above every maximum and
//     inside every minimum. A BER below the range ("_._____") is better than every
//     maximum; above it ("~.~~~~~") worse than every maximum.
//   - A number outside a limit: 不合格. The limits themselves are inside.
//   - A level, C/N or MER inside, but no more than the margin from a limit it has:
//     注意 (a margin of 0 gives no 注意). The BER has no margin.
//   - Otherwise 合格.
//   - Any other text: 判定なし. Rows of the analogue or an unplaced class: 判定なし.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Columns.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/ServiceClass.h"
#include "rxt4/judge/Verdict.h"

namespace rxt4 {

enum class Reading : unsigned char { Level, Cn, Mer, Ber };

// What a stored reading holds.
enum class ValueKind : unsigned char {
  Number,
  BelowRange,     // "___._", "_._____"
  AboveRange,     // "~~~.~", "~.~~~~~"
  NoMeasurement,  // "---.-", "-.-----"
  Unreadable,     // neither a number nor a marker
};

struct ReadingResult {
  Reading reading = Reading::Level;
  Column column = Column::Level;  // where the row holds it
  ValueKind kind = ValueKind::NoMeasurement;
  double value = 0;               // the number, when kind is Number
  std::string stored;             // the stored bytes (Shift-JIS) without surrounding blanks
  std::optional<double> min;      // the limits that apply to it, also when its value could not be
  std::optional<double> max;      // judged (no measurement, unreadable); none when no limit applies
  double marginDb = 0;            // the margin that applies (never to the BER)
  Verdict verdict = Verdict::None;
  Reason reason = Reason::NoLimit;
};

// One row part of a measurement, with its readings readings[first, first + count).
struct PartJudgement {
  int row = 0;          // multi-channel: the channel row (key "1", "2", ...); otherwise 0
  int field = 0;        // SKY: the field row, 1 or 2; otherwise 0
  std::string band;     // the band (or satellite) name the instrument shows with the part: stored bytes, trimmed
  std::string channel;  // the channel the instrument shows with the part: stored bytes, trimmed
  ServiceClass serviceClass = ServiceClass::Unplaced;
  Verdict verdict = Verdict::None;
  std::size_t first = 0;
  std::size_t count = 0;
};

struct MeasurementJudgement {
  std::vector<PartJudgement> parts;
  std::vector<ReadingResult> readings;  // part by part
  Verdict verdict = Verdict::None;      // the worst reading's
  Reason reason = Reason::NoReading;    // the reason of the first reading with that verdict
  VerdictCounts counts;                 // of the readings
};

// Judges a record against a profile into out, whose storage is reused (a loop over
// many records allocates nothing once warm).
void JudgeMeasurement(const CDataSet& record, const LimitsProfile& profile, MeasurementJudgement& out);

// Only the verdict of a record, for marking a whole tree: the same verdict and reason
// as JudgeMeasurement's, its readings added to readings when given.
Verdict JudgeMeasurementVerdict(const CDataSet& record, const LimitsProfile& profile, VerdictCounts* readings = nullptr,
                                Reason* reason = nullptr);

// True when a limit applies to the reading: it was judged, or would have been had the
// instrument measured it (判定なし for a no-measurement or unreadable value).
bool Judged(const ReadingResult& r);

// The reading's name (レベル, C/N, MER, BER), stable ASCII name ("level", "cn", "mer",
// "ber") and unit ("dBμV", "dB", none for the BER).
std::string_view ReadingName(Reading reading, Language language = CurrentLanguage());
std::string_view ReadingKey(Reading reading);
std::string_view ReadingUnit(Reading reading, Language language = CurrentLanguage());

// The value as shown: the stored number with its unit ("68.2 dBμV", "2.0E-4") or the
// marker's meaning (測定なし, 測定範囲未満, 測定範囲超過).
std::string ValueText(const ReadingResult& r, Language language = CurrentLanguage());
// The limit that applied ("47〜81", "24 以上", "2.0E-4 以下"), or for 判定なし the
// reason (基準なし, 測定なし, ...); empty for nothing.
std::string LimitOrReasonText(const ReadingResult& r, Language language = CurrentLanguage());
// The verdict line of a reading: "レベル 68.2 dBμV 合格 (47〜81)".
std::string ReadingLine(const ReadingResult& r);
// (Many lines: VerdictLineFormatter.h.)
// A limit as profiles and lines print it: dB values as the shortest decimal ("50",
// "24.5"), a BER with one decimal and its exponent ("2.0E-4").
std::string LimitNumberText(Reading reading, double value);

}  // namespace rxt4
