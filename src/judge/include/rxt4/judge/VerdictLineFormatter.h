#pragma once
// Verdict lines by the thousand: the texts of a profile's limits and of the string
// table looked up once, each line appended to a text that grows. Safe to share
// between threads once made (it holds no scratch state).

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"

namespace rxt4 {

// A text of the string table with placeholders %1 .. %9, cut at them once, filled as
// FillIn fills it (values[N-1] for %N, put in as they are).
class PreparedText {
 public:
  explicit PreparedText(std::string_view text);
  void AppendTo(std::string& out, std::span<const std::string_view> values) const;

 private:
  std::vector<std::string_view> pieces_;  // around the placeholders: one more than them
  std::vector<int> slots_;                // the value of each placeholder, from 0
};

class VerdictLineFormatter {
 public:
  // The limit texts of profile are made once; lines of readings judged by another
  // profile come out right too, only slower.
  explicit VerdictLineFormatter(const LimitsProfile& profile, Language language = CurrentLanguage());

  // Appends ReadingLine(r) to out.
  void Append(std::string& out, const ReadingResult& r) const;
  // The service class's name (ServiceClassName).
  std::string_view ClassName(ServiceClass c) const { return classNames_[static_cast<std::size_t>(c)]; }

 private:
  struct Limit {
    Reading reading;
    std::optional<double> min, max;
    std::string text;
  };
  Language language_;
  std::vector<Limit> limits_;
  std::array<std::string_view, 8> classNames_{};
  std::array<std::string_view, 4> readingNames_{}, units_{}, verdicts_{};
  std::array<std::string_view, 3> markers_{};  // no measurement, below range, above range
  PreparedText line_;
};

}  // namespace rxt4
