// rxt4 check: judges every measurement of a data folder against a limits profile and
// says, reading by reading, what is not good enough; the exit status says whether
// anything failed.

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/judge/VerdictLineFormatter.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4::cli {
namespace {

// The usage text (rxt4 check --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageCheck); }

constexpr std::size_t kFlushBytes = 64 * 1024;

int UsageError(std::string_view message) { return cli::UsageError("check", message, UsageText()); }

// Prints "rxt4 check: MESSAGE" on standard error.
void Complain(std::string_view message) {
  std::fprintf(stderr, "rxt4 check: %.*s\n", static_cast<int>(message.size()), message.data());
}

// Standard output through one buffer, written in large pieces.
class Output {
 public:
  std::string& text() { return buffer_; }
  void Flush(bool force = false) {
    if (buffer_.empty() || (!force && buffer_.size() < kFlushBytes)) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size()) failed_ = true;
    buffer_.clear();
  }
  // True when everything reached standard output.
  bool Finish() {
    Flush(true);
    return std::fflush(stdout) == 0 && !failed_;
  }

 private:
  std::string buffer_;
  bool failed_ = false;
};

// ---- JSON ---------------------------------------------------------------------------

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
  // The shortest text that reads back as the same number.
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, ec == std::errc() ? static_cast<std::size_t>(end - text) : 0);
}

void AppendJsonOptional(std::string& out, const std::optional<double>& value) {
  if (value) AppendJsonNumber(out, *value);
  else out += "null";
}

void AppendJsonCounts(std::string& out, const VerdictCounts& c) {
  out += "{\"pass\": " + std::to_string(c.pass) + ", \"caution\": " + std::to_string(c.caution) +
         ", \"fail\": " + std::to_string(c.fail) + ", \"none\": " + std::to_string(c.none) +
         ", \"no_measurement\": " + std::to_string(c.noMeasurement) + "}";
}

// ---- Writing the findings ----------------------------------------------------------------

// Texts from the instrument's files for display: most are ASCII and stay as they are.
void AppendDisplay(std::string& out, std::string_view sjis) {
  for (char c : sjis)
    if (static_cast<unsigned char>(c) >= 0x80) {
      out += DecodeSjis(sjis);
      return;
    }
  out += sjis;
}
std::string Display(std::string_view sjis) {
  std::string text;
  AppendDisplay(text, sjis);
  return text;
}

void AppendNumber(std::string& out, int value) {
  char text[16];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  out.append(text, ec == std::errc() ? static_cast<std::size_t>(end - text) : 0);
}

// Set folders are judged side by side: each one's findings are written into a text
// of its own, which goes out, in order, once the set folder is judged whole.
class CheckWriter : public JudgementObserver {
 public:
  CheckWriter(Output& out, bool json, bool verbose, const DataFolderModel& model, const LimitsProfile& profile,
              std::size_t sets)
      : out_(out), json_(json), verbose_(verbose), lines_(profile), place_(Text(StringId::CheckPlace)),
        findings_(sets) {
    for (TransferKind kind : kAllTransferKinds)
      roots_[static_cast<std::size_t>(kind)] = model.Label(DataFolderModel::RootNumber(kind));
  }

  void Begin(const std::filesystem::path& dataFolder, const LimitsProfile& profile) {
    std::string& t = out_.text();
    if (json_) {
      t += "{\n  \"data_folder\": ";
      AppendJsonString(t, dataFolder.string());
      t += ",\n  \"limits\": {\"name\": ";
      AppendJsonString(t, profile.name());
      t += ", \"file\": ";
      AppendJsonString(t, profile.file().string());
      t += "},\n  \"set_folders\": [";
    } else {
      t += FillIn(Text(StringId::CheckProfile), {profile.name(), profile.file().string()});
      t += '\n';
    }
  }

  void Measurement(std::size_t set, const SetFolderSummary& summary, TransferKind kind, int item,
                   const CDataSet& record, const MeasurementJudgement& judgement) override {
    (void)item;
    if (!verbose_ && judgement.counts.caution == 0 && judgement.counts.fail == 0 && judgement.counts.none == 0)
      return;
    std::string& t = findings_[set];
    const std::string_view dataName = record.firstRow().Field(Index(Column::DataName));
    // "SET KIND N:NAME", made once for the measurement's lines.
    std::string measurement;
    for (const PartJudgement& part : judgement.parts) {
      for (std::size_t i = part.first; i < part.first + part.count; ++i) {
        const ReadingResult& r = judgement.readings[i];
        if (!verbose_ && (r.verdict == Verdict::Pass || !Judged(r))) continue;
        if (json_) {
          AppendJsonFinding(t, kind, record, dataName, part, r);
          continue;
        }
        if (measurement.empty()) {
          measurement += summary.name;
          measurement += ' ';
          measurement += roots_[static_cast<std::size_t>(kind)];
          measurement += ' ';
          AppendNumber(measurement, record.index);
          measurement += ':';
          AppendDisplay(measurement, dataName);
        }
        AppendTextFinding(t, measurement, part, r);
      }
    }
  }

  void SetFolderDone(std::size_t set, const SetFolderSummary& summary) override {
    std::string& t = out_.text();
    if (json_) {
      t += set ? ",\n    {\"name\": " : "\n    {\"name\": ";
      AppendJsonString(t, summary.name);
      t += ",\n      \"findings\": [";
      t += findings_[set];
      t += "\n      ],\n      \"verdict\": \"";
      t += VerdictKey(summary.verdict);
      t += "\",\n      \"measurements\": ";
      AppendJsonCounts(t, summary.measurements);
      t += ",\n      \"readings\": ";
      AppendJsonCounts(t, summary.readings);
      t += "\n    }";
    } else {
      t += findings_[set];
      AppendSummary(summary.name, summary);
    }
    std::string().swap(findings_[set]);
    out_.Flush();
  }

  void End(const SetFolderSummary& overall) {
    std::string& t = out_.text();
    if (json_) {
      t += findings_.empty() ? "],\n" : "\n  ],\n";
      t += "  \"verdict\": \"";
      t += VerdictKey(overall.verdict);
      t += "\",\n  \"measurements\": ";
      AppendJsonCounts(t, overall.measurements);
      t += ",\n  \"readings\": ";
      AppendJsonCounts(t, overall.readings);
      t += "\n}\n";
    } else {
      AppendSummary(Text(StringId::CheckOverall), overall);
    }
  }

 private:
  void AppendSummary(std::string_view name, const SetFolderSummary& s) {
    const VerdictCounts& m = s.measurements;
    std::string& t = out_.text();
    t += FillIn(Text(StringId::CheckSummary),
                {name, VerdictText(s.verdict), std::to_string(m.total()), std::to_string(m.pass),
                 std::to_string(m.caution), std::to_string(m.fail), std::to_string(m.none),
                 std::to_string(s.readings.noMeasurement)});
    t += '\n';
  }

  // measurement: "SET KIND N:NAME".
  void AppendTextFinding(std::string& t, std::string_view measurement, const PartJudgement& part,
                         const ReadingResult& r) const {
    t += measurement;
    if (part.row > 0 || part.field > 0) {
      t += ' ';
      std::string number;
      AppendNumber(number, part.row > 0 ? part.row : part.field);
      const std::string channel = Display(part.channel);
      const std::string_view place[] = {number, channel};
      place_.AppendTo(t, place);
    }
    t += ' ';
    t += lines_.ClassName(part.serviceClass);
    t += ' ';
    lines_.Append(t, r);
    t += '\n';
  }

  static void AppendJsonFinding(std::string& t, TransferKind kind, const CDataSet& record, std::string_view dataName,
                                const PartJudgement& part, const ReadingResult& r) {
    t += t.empty() ? "\n        {" : ",\n        {";
    t += "\"kind\": \"";
    t += KindKey(kind);
    t += "\", \"item\": " + std::to_string(record.index) + ", \"data_name\": ";
    AppendJsonString(t, Display(dataName));
    t += ", \"channel_row\": ";
    t += part.row > 0 ? std::to_string(part.row) : "null";
    t += ", \"field_row\": ";
    t += part.field > 0 ? std::to_string(part.field) : "null";
    t += ", \"channel\": ";
    AppendJsonString(t, Display(part.channel));
    t += ", \"service_class\": \"";
    t += ServiceClassKey(part.serviceClass);
    t += "\", \"reading\": \"";
    t += ReadingKey(r.reading);
    t += "\", \"stored\": ";
    AppendJsonString(t, Display(r.stored));
    t += ", \"value\": ";
    if (r.kind == ValueKind::Number) AppendJsonNumber(t, r.value);
    else t += "null";
    t += ", \"value_kind\": \"";
    t += ValueKindKey(r.kind);
    t += "\", \"verdict\": \"";
    t += VerdictKey(r.verdict);
    t += "\", \"reason\": \"";
    t += ReasonKey(r.reason);
    t += "\", \"min\": ";
    AppendJsonOptional(t, r.min);
    t += ", \"max\": ";
    AppendJsonOptional(t, r.max);
    t += ", \"margin_db\": ";
    AppendJsonNumber(t, r.marginDb);
    t += '}';
  }

  Output& out_;
  bool json_;
  bool verbose_;
  VerdictLineFormatter lines_;
  PreparedText place_;
  std::array<std::string, kTransferKindCount> roots_;
  std::vector<std::string> findings_;  // by set folder, until it goes out
};

int ListLimits(const ProfileCatalog& catalog) {
  Output out;
  for (const ProfileEntry& entry : catalog.List()) {
    std::string& t = out.text();
    t += entry.error.reason.empty() ? entry.name
                                    : FillIn(Text(StringId::ProfileListRefused), {entry.error.Text()});
    t += '\t';
    t += entry.file.string();
    t += '\t';
    t += entry.description;
    t += '\n';
  }
  if (!out.Finish()) {
    Complain(FillIn(Text(StringId::CheckWriteFailed), {std::strerror(errno)}));
    return 2;
  }
  return 0;
}

}  // namespace

int RunCheck(Args args) {
  std::string folder, limits;
  bool haveFolder = false, haveLimits = false, json = false, verbose = false, list = false;
  std::vector<std::string> sets;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--set" || arg == "--limits" || arg == "--format") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string value(args[++i]);
      if (arg == "--set") sets.push_back(value);
      if (arg == "--limits") {
        limits = value;
        haveLimits = true;
      }
      if (arg == "--format") {
        if (value != "text" && value != "json") return UsageError(FillIn(Text(StringId::CheckBadFormat), {value}));
        json = value == "json";
      }
    } else if (arg == "--verbose") {
      verbose = true;
    } else if (arg == "--list-limits") {
      list = true;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  const ProfileCatalog catalog = ProfileCatalog::Standard(DefaultSettingsPath().parent_path());
  if (list) {
    if (haveFolder || !sets.empty() || haveLimits)
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {"--list-limits"}));
    return ListLimits(catalog);
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));

  // The profile first: nothing is loaded, let alone judged, without one.
  LimitsProfile profile;
  ProfileError error;
  std::vector<ProfileError> skipped;
  const bool found = catalog.Find(haveLimits ? std::string_view(limits) : kDefaultProfileName, profile, error, &skipped);
  for (const ProfileError& refused : skipped) Complain(FillIn(Text(StringId::ProfileSkipped), {refused.Text()}));
  if (!found) {
    Complain(error.file.empty() ? error.reason : FillIn(Text(StringId::ProfileUnreadable), {error.Text()}));
    return 2;
  }

  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    Complain(FillIn(Text(StringId::CheckNoFolder), {folder}));
    return 2;
  }
  // Named set folders as the file system spells them (matched regardless of case).
  std::vector<std::string> names;
  for (const std::string& name : sets) {
    const std::filesystem::path resolved = ResolvePath(std::filesystem::path(folder) / name);
    const bool plainName = !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
    if (!plainName || !std::filesystem::is_directory(resolved, ec)) {
      Complain(FillIn(Text(StringId::CheckNoSetFolder), {name, folder}));
      return 2;
    }
    names.push_back(resolved.filename().string());
  }

  DataFolderModel model;
  StderrLoadObserver loaderMessages;
  model.Load(folder, loaderMessages);

  // As many set folders as the judgement takes: every one, or those named (the same
  // set folder named twice counts once).
  std::size_t chosen = 0;
  for (const std::string& set : model.SetFolders())
    if (names.empty() || std::find(names.begin(), names.end(), set) != names.end()) ++chosen;
  Output out;
  CheckWriter writer(out, json, verbose, model, profile, chosen);
  writer.Begin(std::filesystem::absolute(folder, ec), profile);
  const FolderJudgement judgement(model, profile, names, &writer);
  writer.End(judgement.Overall());
  if (!out.Finish()) {
    Complain(FillIn(Text(StringId::CheckWriteFailed), {std::strerror(errno)}));
    return 2;
  }
  return judgement.Overall().verdict == Verdict::Fail ? 1 : 0;
}

}  // namespace rxt4::cli
