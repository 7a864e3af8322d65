// rxt4 job: prints or changes the job record (案件情報) of a set folder, or the company
// record (会社情報) of the settings.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Strings.h"
#include "rxt4/link/SettingsFile.h"

namespace rxt4::cli {
namespace {

namespace fs = std::filesystem;

// The usage text (rxt4 job --help), in the tool's language.
std::string_view UsageText() { return Text(StringId::CliUsageJob); }

int UsageError(std::string_view message) { return cli::UsageError("job", message, UsageText()); }

void Complain(std::string_view message) {
  std::fprintf(stderr, "rxt4 job: %.*s\n", static_cast<int>(message.size()), message.data());
}

// "\n" and "\\" of a command-line value.
std::string Unescaped(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == '\\')) {
      text += value[++i] == 'n' ? '\n' : '\\';
    } else {
      text += value[i];
    }
  }
  return text;
}

struct Change {
  std::string option;  // "--field", "--label", "--remark"
  std::string target;  // the key, or KIND:NUMBER
  std::string value;
};

// One line per field (continuation lines indented), then the notes.
void PrintLine(std::string& out, std::string_view name, std::string_view value) {
  out += name;
  out += ':';
  if (!value.empty()) out += ' ';
  for (char c : value) {
    out += c;
    if (c == '\n') out += "  ";
  }
  out += '\n';
}

template <typename Info, typename Record>
void PrintFields(std::string& out, std::span<const Info> fields, const Record& record) {
  for (const Info& f : fields)
    PrintLine(out, std::string(Text(f.label)) + " (" + std::string(f.key) + ")", FieldText(record, f.field));
}

bool Print(const std::string& out) { return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && std::fflush(stdout) == 0; }

int RunCompany(const std::vector<Change>& changes) {
  const fs::path settingsFolder = DefaultSettingsPath().parent_path();
  const fs::path file = CompanyRecordPath(settingsFolder);
  CompanyRecordRead read = ReadCompanyRecord(file);
  if (read.error) {
    Complain(FillIn(Text(changes.empty() ? StringId::JobCmdUnreadable : StringId::JobCmdDamaged), {read.error.Text()}));
    return 1;
  }
  if (changes.empty()) {
    std::string out;
    PrintFields(out, CompanyFields(), read.record);
    return Print(out) ? 0 : 1;
  }
  for (const Change& c : changes) {
    const CompanyFieldInfo* field = c.option == "--field" ? FindCompanyField(c.target) : nullptr;
    if (!field) return UsageError(FillIn(Text(StringId::RecordUnknownKey), {c.target, CompanyFieldKeys()}));
    if (auto why = CheckCompanyFieldText(*field, c.value)) return UsageError(*why);
    FieldText(read.record, field->field) = c.value;
  }
  std::error_code ec;
  fs::create_directories(settingsFolder, ec);
  RecordError error;
  if (!WriteCompanyRecord(file, read.record, error)) {
    Complain(error.Text());
    return 1;
  }
  return 0;
}

}  // namespace

int RunJob(Args args) {
  std::string folder, set;
  bool haveFolder = false, haveSet = false, company = false;
  std::vector<Change> changes;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (IsHelpArg(arg)) return PrintHelp(UsageText());
    if (arg == "--set" || arg == "--field" || arg == "--label" || arg == "--remark") {
      if (i + 1 >= args.size()) return UsageError(FillIn(Text(StringId::CheckMissingValue), {arg}));
      const std::string_view value = args[++i];
      if (arg == "--set") {
        set = value;
        haveSet = true;
        continue;
      }
      const std::size_t equals = value.find('=');
      if (equals == std::string_view::npos || equals == 0)
        return UsageError(FillIn(Text(StringId::JobCmdNotAssignment),
                                 {arg, arg == "--field" ? "KEY=VALUE" : "KIND:NUMBER=TEXT", value}));
      changes.push_back({std::string(arg), std::string(value.substr(0, equals)), Unescaped(value.substr(equals + 1))});
    } else if (arg == "--company") {
      company = true;
    } else if (!TakeDataFolder(arg, folder, haveFolder)) {
      return UsageError(FillIn(Text(StringId::CheckBadArgument), {arg}));
    }
  }
  if (company) {
    if (haveFolder || haveSet) return UsageError(FillIn(Text(StringId::CheckBadArgument), {"--company"}));
    return RunCompany(changes);
  }
  if (!haveFolder) return UsageError(Text(StringId::CheckNoDataFolder));
  if (!haveSet) return UsageError(Text(StringId::JobCmdNoSet));

  // Every change is checked before anything is read or written.
  std::vector<std::pair<const JobFieldInfo*, std::string>> fields;
  std::vector<std::pair<MeasurementKey, std::pair<bool, std::string>>> notes;  // key, (remark, text)
  for (const Change& c : changes) {
    if (c.option == "--field") {
      const JobFieldInfo* field = FindJobField(c.target);
      if (!field) return UsageError(FillIn(Text(StringId::RecordUnknownKey), {c.target, JobFieldKeys()}));
      if (auto why = CheckJobFieldText(*field, c.value)) return UsageError(*why);
      fields.emplace_back(field, c.value);
    } else {
      std::string reason;
      const std::optional<MeasurementKey> key = ParseMeasurementKey(c.target, reason);
      if (!key) return UsageError(reason);
      const bool remark = c.option == "--remark";
      if (auto why = CheckNoteText(remark, c.value)) return UsageError(*why);
      notes.push_back({*key, {remark, c.value}});
    }
  }

  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    Complain(FillIn(Text(StringId::CheckNoFolder), {folder}));
    return 2;
  }
  const fs::path setFolder = ResolvePath(fs::path(folder) / set);
  const bool plainName = !set.empty() && set != "." && set != ".." && set.find('/') == std::string::npos;
  if (!plainName || !fs::is_directory(setFolder, ec)) {
    Complain(FillIn(Text(StringId::CheckNoSetFolder), {set, folder}));
    return 2;
  }

  JobRecordRead read = ReadJobRecord(setFolder);
  if (read.error) {
    Complain(FillIn(Text(changes.empty() ? StringId::JobCmdUnreadable : StringId::JobCmdDamaged), {read.error.Text()}));
    return 1;
  }
  JobRecord& record = read.record;
  if (changes.empty()) {
    std::string out;
    PrintFields(out, JobFields(), record);
    for (const auto& [key, note] : record.notes) {
      const std::string place = std::string(KindFolderName(key.kind)) + ":" + std::to_string(key.number) + " ";
      if (!note.label.empty()) PrintLine(out, place + std::string(Text(StringId::JobLabel)), note.label);
      if (!note.remark.empty()) PrintLine(out, place + std::string(Text(StringId::JobRemark)), note.remark);
    }
    return Print(out) ? 0 : 1;
  }
  for (const auto& [field, value] : fields) FieldText(record, field->field) = value;
  for (const auto& [key, change] : notes) {
    const MeasurementNote* old = record.Note(key.kind, key.number);
    MeasurementNote note = old ? *old : MeasurementNote{};
    (change.first ? note.remark : note.label) = change.second;
    record.SetNote(key, std::move(note));
  }
  RecordError error;
  if (!WriteJobRecord(setFolder, record, error)) {
    Complain(error.Text());
    return 1;
  }
  return 0;
}

}  // namespace rxt4::cli
