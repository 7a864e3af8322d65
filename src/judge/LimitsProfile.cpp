#include "rxt4/judge/LimitsProfile.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <toml++/toml.h>

#include "rxt4/data/ReadOnlyFile.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

// The keys of a class table: the limit each one sets, and what the value must be.
enum class Check { Any, NotNegative, BerRange };

struct LimitKey {
  std::string_view key;
  std::optional<double> ClassLimits::*limit;  // nullptr: the margin
  Check check;
};

constexpr LimitKey kLimitKeys[] = {
    {"level_min_dbuv", &ClassLimits::levelMin, Check::Any},
    {"level_max_dbuv", &ClassLimits::levelMax, Check::Any},
    {"cn_min_db", &ClassLimits::cnMin, Check::Any},
    {"mer_min_db", &ClassLimits::merMin, Check::Any},
    {"ber_max", &ClassLimits::berMax, Check::BerRange},
    {"margin_db", nullptr, Check::NotNegative},
};

constexpr std::string_view kNameKey = "name";
constexpr std::string_view kDescriptionKey = "description";

std::string JoinedLimitKeys() {
  std::string keys;
  for (const LimitKey& k : kLimitKeys) {
    if (!keys.empty()) keys += ", ";
    keys += k.key;
  }
  return keys;
}

std::string JoinedClassKeys() {
  std::string keys;
  for (ServiceClass c : kJudgedClasses) {
    if (!keys.empty()) keys += ", ";
    keys += ServiceClassKey(c);
  }
  return keys;
}

// The shortest text that reads back as the value (for quoting a refused value).
std::string NumberText(double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc() ? std::string(text, end) : std::string();
}

class Reader {
 public:
  Reader(const std::filesystem::path& file, ProfileError& error) : file_(file), error_(error) {}

  bool Fail(const toml::source_region& where, std::string reason) {
    error_.file = file_;
    error_.line = static_cast<int>(where.begin.line);
    error_.column = static_cast<int>(where.begin.column);
    error_.reason = std::move(reason);
    return false;
  }

  bool ReadText(const toml::key& key, const toml::node& node, std::string& out) {
    const std::optional<std::string> text = node.value_exact<std::string>();
    if (!text) return Fail(node.source(), FillIn(Text(StringId::ProfileNotText), {key.str()}));
    out = *text;
    return true;
  }

  bool ReadClass(const toml::key& name, const toml::node& node, ClassLimits& limits) {
    const toml::table* table = node.as_table();
    if (!table) return Fail(node.source(), FillIn(Text(StringId::ProfileNotTable), {name.str(), name.str()}));
    for (auto&& [key, value] : *table) {
      const LimitKey* known = nullptr;
      for (const LimitKey& k : kLimitKeys)
        if (k.key == key.str()) known = &k;
      if (!known) return Fail(key.source(), FillIn(Text(StringId::ProfileUnknownKey), {key.str(), JoinedLimitKeys()}));
      const std::optional<double> number = value.is_number() ? value.value<double>() : std::nullopt;
      if (!number) return Fail(value.source(), FillIn(Text(StringId::ProfileNotNumber), {key.str()}));
      std::optional<StringId> why;
      if (!std::isfinite(*number)) why = StringId::ProfileWhyFinite;
      else if (known->check == Check::NotNegative && *number < 0) why = StringId::ProfileWhyNotNegative;
      else if (known->check == Check::BerRange && !(*number > 0 && *number <= 1)) why = StringId::ProfileWhyBerRange;
      if (why)
        return Fail(value.source(),
                    FillIn(Text(StringId::ProfileBadValue), {key.str(), NumberText(*number), Text(*why)}));
      if (known->limit) limits.*(known->limit) = *number;
      else limits.marginDb = *number;
    }
    if (limits.levelMin && limits.levelMax && *limits.levelMin > *limits.levelMax)
      return Fail(node.source(), FillIn(Text(StringId::ProfileMinAboveMax), {"level_min_dbuv", "level_max_dbuv"}));
    return true;
  }

 private:
  const std::filesystem::path& file_;
  ProfileError& error_;
};

}  // namespace

std::string ProfileError::Text() const {
  if (line <= 0) return reason;
  return file.string() + ":" + std::to_string(line) + ": " + reason;
}

bool LimitsProfile::Parse(std::string_view text, const std::filesystem::path& file, LimitsProfile& profile,
                          ProfileError& error) {
  toml::table document;
  try {
    document = toml::parse(text, file.string());
  } catch (const toml::parse_error& e) {
    error.file = file;
    error.line = static_cast<int>(e.source().begin.line);
    error.column = static_cast<int>(e.source().begin.column);
    error.reason = FillIn(rxt4::Text(StringId::ProfileSyntax), {e.description()});
    return false;
  }

  LimitsProfile read;
  read.file_ = file;
  read.name_ = file.stem().string();
  Reader reader(file, error);
  for (auto&& [key, node] : document) {
    if (key.str() == kNameKey) {
      std::string name;
      if (!reader.ReadText(key, node, name)) return false;
      if (!name.empty()) read.name_ = name;
    } else if (key.str() == kDescriptionKey) {
      if (!reader.ReadText(key, node, read.description_)) return false;
    } else {
      std::size_t index = kJudgedClasses.size();
      for (std::size_t i = 0; i < kJudgedClasses.size(); ++i)
        if (ServiceClassKey(kJudgedClasses[i]) == key.str()) index = i;
      if (index == kJudgedClasses.size()) {
        // A bare key at the top is a misplaced limit or a misspelt name; a table a class
        // the profile does not know.
        if (node.is_table())
          return reader.Fail(key.source(), FillIn(rxt4::Text(StringId::ProfileUnknownTable),
                                                  {key.str(), JoinedClassKeys()}));
        return reader.Fail(key.source(), FillIn(rxt4::Text(StringId::ProfileUnknownKey),
                                                {key.str(), std::string(kNameKey) + ", " + std::string(kDescriptionKey)}));
      }
      if (!reader.ReadClass(key, node, read.limits_[index])) return false;
    }
  }
  profile = std::move(read);
  return true;
}

bool LimitsProfile::Load(const std::filesystem::path& file, LimitsProfile& profile, ProfileError& error) {
  std::string bytes, message;
  if (ReadFileBytes(file, kMaxFileBytes, bytes, message) != FileStatus::Ok) {
    error.file = file;
    error.line = 0;
    error.column = 0;
    error.reason = message;
    return false;
  }
  return Parse(bytes, file, profile, error);
}

const ClassLimits& LimitsProfile::Limits(ServiceClass c) const {
  static const ClassLimits none;
  for (std::size_t i = 0; i < kJudgedClasses.size(); ++i)
    if (kJudgedClasses[i] == c) return limits_[i];
  return none;
}

}  // namespace rxt4
