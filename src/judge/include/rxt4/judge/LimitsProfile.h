#pragma once
// A limits profile: the limits a measurement is judged against, per service class,
// read from a small hand-editable TOML file:
//
//   name = "テレビ端子"               # the name a user chooses the profile by
//   description = "..."               # optional
//   [terrestrial]                     # one table per service class (ServiceClassKey)
//   level_min_dbuv = 50               # each limit optional: one not set is not judged
//   level_max_dbuv = 81
//   cn_min_db = 24
//   mer_min_db = 24
//   ber_max = 2.0e-4                  # before Reed-Solomon; no margin
//   margin_db = 3                     # 注意 band inside each level, C/N and MER limit
//
// A file that does not parse, or that holds a table, a key or a value the profile does
// not know, is refused as a whole with its file, line and reason: nothing is ever
// judged with a half-read profile.

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/judge/ServiceClass.h"

namespace rxt4 {

// The limits of one service class. Levels in dBμV, C/N and MER in dB.
struct ClassLimits {
  std::optional<double> levelMin;
  std::optional<double> levelMax;
  std::optional<double> cnMin;
  std::optional<double> merMin;
  std::optional<double> berMax;
  double marginDb = 0;  // 0: no 注意 band

  bool empty() const { return !levelMin && !levelMax && !cnMin && !merMin && !berMax; }
};

// Why a profile was refused.
struct ProfileError {
  std::filesystem::path file;
  int line = 0;        // from 1; 0 when the failure has no line (the file could not be read)
  int column = 0;      // from 1; 0 when unknown
  std::string reason;  // UTF-8; without a line it names the file itself

  // "FILE:LINE: REASON", or the reason alone without a line.
  std::string Text() const;
};

class LimitsProfile {
 public:
  // Profiles are at most this long: a hand-written file is a few kilobytes.
  static constexpr std::size_t kMaxFileBytes = 256 * 1024;

  // Reads a profile from TOML text; file names it in errors and becomes file().
  // False (and error filled in, profile unchanged) when the text is refused.
  static bool Parse(std::string_view text, const std::filesystem::path& file, LimitsProfile& profile,
                    ProfileError& error);
  // Reads and parses a file.
  static bool Load(const std::filesystem::path& file, LimitsProfile& profile, ProfileError& error);

  // The profile's name (the file's stem when it names none), description and file.
  const std::string& name() const { return name_; }
  const std::string& description() const { return description_; }
  const std::filesystem::path& file() const { return file_; }

  // The limits of a class; empty for analogue and unplaced rows, which are never judged.
  const ClassLimits& Limits(ServiceClass c) const;

 private:
  std::string name_;
  std::string description_;
  std::filesystem::path file_;
  std::array<ClassLimits, kJudgedClasses.size()> limits_{};
};

}  // namespace rxt4
