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

constexpr const char* kJobUsage =
    "usage: rxt4 job DATA_FOLDER --set NAME [--field KEY=VALUE]... [--label KIND:NUMBER=TEXT]...\n"
    "                [--remark KIND:NUMBER=TEXT]...\n"
    "       rxt4 job --company [--field KEY=VALUE]...\n"
    "\n"
    "Prints the job record (案件情報) of set folder NAME, kept in NAME/job.toml: one line\n"
    "per field, \"名前 (key): value\", then the label and remark of each measurement that\n"
    "has one (\"KIND:NUMBER ラベル: text\"). With --field, --label or --remark it changes\n"
    "those instead and writes the record (staged: a failure leaves the earlier file);\n"
    "an empty VALUE or TEXT clears it. A record that cannot be read is not changed.\n"
    "\n"
    "  --set NAME              the set folder\n"
    "  --field KEY=VALUE       a field, by key or by its Japanese name:\n"
    "                            title 件名, customer お客様名, property 物件名,\n"
    "                            address 住所, measured_at 測定日時 (YYYY-MM-DD HH:MM or\n"
    "                            YYYY-MM-DD), weather 天候, technician 測定者,\n"
    "                            instrument.model, instrument.serial, instrument.firmware\n"
    "                            (計器), findings 所見\n"
    "  --label KIND:NUMBER=TEXT   a measurement's label, e.g. --label LEVEL:3=101号室\n"
    "                          KIND is its kind folder (LEVEL, BER, CONSTEL, SPECTRUM,\n"
    "                          PROFILE, SKY, MULTI), NUMBER its number in the tree\n"
    "  --remark KIND:NUMBER=TEXT  a measurement's remark\n"
    "  --company               the company record (会社情報) of the settings instead,\n"
    "                          company.toml in $XDG_CONFIG_HOME/RXT4_Viewer; its keys:\n"
    "                            name 会社名, address 住所, phone 電話, logo ロゴ画像\n"
    "                            (a .png or .svg file)\n"
    "  --help                  show this text\n"
    "\n"
    "In a value, \"\\n\" is a line break where the field takes several lines (住所, 所見,\n"
    "備考) and \"\\\\\" a backslash.\n"
    "\n"
    "Exit status: 0 done, 1 a record that cannot be read or written, 2 bad arguments, a\n"
    "key or value the record cannot hold, a data folder or set folder that does not exist.\n";

int UsageError(std::string_view message) { return cli::UsageError("job", message, kJobUsage); }

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
    if (IsHelpArg(arg)) return PrintHelp(kJobUsage);
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
