#pragma once
// Verdict lines by the thousand: the texts of a profile's limits and of the string
// table looked up once, each line appended to a text that grows. Safe to share
// between threads once made (it holds no scratch state).

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/MeasurementJudge.h"

namespace rxt4 {

class VerdictLineFormatter {
 public:
  explicit VerdictLineFormatter(const LimitsProfile& profile);

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
  std::vector<Limit> limits_;
  std::array<std::string_view, 8> classNames_{};
};

}  // namespace rxt4
