#include "rxt4/data/JobRecord.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <toml++/toml.h>
#include <utility>

#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/ReadOnlyFile.h"
#include "rxt4/data/StagedFile.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;

constexpr JobFieldInfo kJobFields[] = {
    {JobField::Title, "title", StringId::JobTitle, false},
    {JobField::Customer, "customer", StringId::JobCustomer, false},
    {JobField::Property, "property", StringId::JobProperty, false},
    {JobField::Address, "address", StringId::JobAddress, true},
    {JobField::MeasuredAt, "measured_at", StringId::JobMeasuredAt, false},
    {JobField::Weather, "weather", StringId::JobWeather, false},
    {JobField::Technician, "technician", StringId::JobTechnician, false},
    {JobField::InstrumentModel, "instrument.model", StringId::JobInstrumentModel, false},
    {JobField::InstrumentSerial, "instrument.serial", StringId::JobInstrumentSerial, false},
    {JobField::InstrumentFirmware, "instrument.firmware", StringId::JobInstrumentFirmware, false},
    {JobField::Findings, "findings", StringId::JobFindings, true},
};

constexpr CompanyFieldInfo kCompanyFields[] = {
    {CompanyField::Name, "name", StringId::CompanyName, false},
    {CompanyField::Address, "address", StringId::CompanyAddress, true},
    {CompanyField::Phone, "phone", StringId::CompanyPhone, false},
    {CompanyField::Logo, "logo", StringId::CompanyLogo, false},
};

constexpr std::string_view kInstrumentTable = "instrument";
constexpr std::string_view kMeasurementTable = "measurement";
constexpr std::string_view kLabelKey = "label";
constexpr std::string_view kRemarkKey = "remark";
constexpr int kMaxMeasurementNumber = 999999;

// Length of the UTF-8 sequence at text[i]; 0 when it is none (overlong forms,
// surrogates and code points above U+10FFFF included).
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  std::size_t n;
  char32_t cp;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) n = 2, cp = b & 0x1F;
  else if (b >= 0xE0 && b <= 0xEF) n = 3, cp = b & 0x0F;
  else if (b >= 0xF0 && b <= 0xF4) n = 4, cp = b & 0x07;
  else return 0;
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// Why value cannot be the text of the field called name; empty when it can.
std::optional<std::string> CheckText(std::string_view name, std::string_view value, bool multiLine) {
  const std::size_t limit = multiLine ? kMaxLongFieldBytes : kMaxFieldBytes;
  if (value.size() > limit) return FillIn(Text(StringId::RecordTooLong), {name, std::to_string(limit)});
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t n = Utf8Length(value, i);
    if (n == 0) return FillIn(Text(StringId::RecordNotUtf8), {name});
    const auto c = static_cast<unsigned char>(value[i]);
    if (n == 1 && (c < 0x20 || c == 0x7F) && c != '\t') {
      if (c == '\n' || c == '\r') {
        if (!multiLine) return FillIn(Text(StringId::RecordLineBreak), {name});
      } else {
        return FillIn(Text(StringId::RecordControl), {name});
      }
    }
    i += n;
  }
  return std::nullopt;
}

bool IsDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}

// The measurement number of a key: decimal digits without a sign, 1 to 999999.
std::optional<int> MeasurementNumber(std::string_view text) {
  if (!IsDigits(text) || text.size() > 6) return std::nullopt;
  const int n = Number(text);
  if (n < 1 || n > kMaxMeasurementNumber) return std::nullopt;
  return n;
}

std::string KindNames() {
  std::string names;
  for (TransferKind kind : kAllTransferKinds) {
    if (!names.empty()) names += ", ";
    names += KindFolderName(kind);
  }
  return names;
}

std::optional<TransferKind> KindByName(std::string_view name) {
  for (TransferKind kind : kAllTransferKinds)
    if (FoldCase(name) == FoldCase(KindFolderName(kind))) return kind;
  return std::nullopt;
}

// A TOML basic string holding text: quotes, backslashes and control characters escaped.
void PutString(std::string& out, std::string_view text) {
  out += '"';
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void PutKey(std::string& out, std::string_view key, std::string_view text) {
  if (text.empty()) return;
  out += key;
  out += " = ";
  PutString(out, text);
  out += '\n';
}

// Reads one of the record's tables, refusing the first thing it cannot hold.
class Reader {
 public:
  Reader(const fs::path& file, RecordError& error) : file_(file), error_(error) {}

  bool Fail(const toml::source_region& where, std::string reason) {
    error_ = {};
    error_.kind = RecordError::Kind::Damaged;
    error_.file = file_;
    error_.line = static_cast<int>(where.begin.line);
    error_.reason = std::move(reason);
    return false;
  }

  // A text value of the field called name (its key in the file), checked as the field's.
  bool ReadText(std::string_view key, const toml::node& node, bool multiLine, std::string& out) {
    std::optional<std::string> text = node.value_exact<std::string>();
    if (!text) return Fail(node.source(), FillIn(Text(StringId::RecordNotText), {key}));
    if (auto why = CheckText(key, *text, multiLine)) return Fail(node.source(), std::move(*why));
    out = std::move(*text);
    return true;
  }

  // 測定日時: a text, or a TOML date or local date-time (minutes kept).
  bool ReadMeasuredAt(std::string_view key, const toml::node& node, std::string& out) {
    char text[64];
    if (const toml::value<toml::date_time>* at = node.as_date_time(); at && !(*at)->offset) {
      const toml::date_time& v = **at;
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", static_cast<int>(v.date.year),
                    static_cast<int>(v.date.month), static_cast<int>(v.date.day), static_cast<int>(v.time.hour),
                    static_cast<int>(v.time.minute));
      out = text;
      return true;
    }
    if (const toml::value<toml::date>* at = node.as_date()) {
      const toml::date& v = **at;
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(v.year), static_cast<int>(v.month),
                    static_cast<int>(v.day));
      out = text;
      return true;
    }
    if (!ReadText(key, node, false, out)) return false;
    if (!out.empty() && !IsMeasuredAtText(out))
      return Fail(node.source(), FillIn(Text(StringId::RecordBadTime), {key, out}));
    return true;
  }

  bool Unknown(const toml::key& key, const std::string& valid) {
    return Fail(key.source(), FillIn(Text(StringId::RecordUnknownKey), {key.str(), valid}));
  }

  const toml::table* Table(std::string_view name, const toml::node& node) {
    const toml::table* table = node.as_table();
    if (!table) Fail(node.source(), FillIn(Text(StringId::RecordNotTable), {name}));
    return table;
  }

  bool ReadMeasurements(const toml::node& node, JobRecord& record) {
    const toml::table* kinds = Table(kMeasurementTable, node);
    if (!kinds) return false;
    for (auto&& [kindKey, kindNode] : *kinds) {
      const std::optional<TransferKind> kind = KindByName(kindKey.str());
      if (!kind) return Fail(kindKey.source(), FillIn(Text(StringId::RecordBadKind), {kindKey.str(), KindNames()}));
      const std::string kindPath = std::string(kMeasurementTable) + "." + std::string(kindKey.str());
      const toml::table* numbers = Table(kindPath, kindNode);
      if (!numbers) return false;
      for (auto&& [numberKey, noteNode] : *numbers) {
        const std::optional<int> number = MeasurementNumber(numberKey.str());
        if (!number) return Fail(numberKey.source(), FillIn(Text(StringId::RecordBadNumber), {numberKey.str()}));
        const toml::table* fields = Table(kindPath + "." + std::string(numberKey.str()), noteNode);
        if (!fields) return false;
        MeasurementNote note;
        for (auto&& [key, value] : *fields) {
          if (key.str() == kLabelKey) {
            if (!ReadText(key.str(), value, false, note.label)) return false;
          } else if (key.str() == kRemarkKey) {
            if (!ReadText(key.str(), value, true, note.remark)) return false;
          } else {
            return Unknown(key, std::string(kLabelKey) + ", " + std::string(kRemarkKey));
          }
        }
        record.SetNote({*kind, *number}, std::move(note));
      }
    }
    return true;
  }

 private:
  const fs::path& file_;
  RecordError& error_;
};

// The document of a record's text; false (error filled in) when it is no TOML.
bool ParseDocument(std::string_view text, const fs::path& file, toml::table& document, RecordError& error) {
  try {
    document = toml::parse(text, file.string());
  } catch (const toml::parse_error& e) {
    error = {};
    error.kind = RecordError::Kind::Damaged;
    error.file = file;
    error.line = static_cast<int>(e.source().begin.line);
    error.reason = FillIn(Text(StringId::RecordSyntax), {e.description()});
    return false;
  }
  return true;
}

// Reads a record file: nothing when it is missing; its bytes, or the reason it could not be read.
std::optional<std::string> ReadRecordFile(const fs::path& file, bool& present, RecordError& error) {
  std::string bytes, message;
  std::error_code ec;
  present = fs::exists(fs::symlink_status(file, ec)) || fs::is_symlink(fs::symlink_status(file, ec));
  if (!present) return std::nullopt;
  if (ReadFileBytes(file, kMaxRecordFileBytes, bytes, message) != FileStatus::Ok) {
    error = {};
    error.kind = RecordError::Kind::Unreadable;
    error.file = file;
    error.reason = message;
    return std::nullopt;
  }
  return bytes;
}

bool WriteText(const fs::path& file, const std::string& text, RecordError& error) {
  StagedFile staged(file);
  if (staged.Write(text) && staged.Commit()) return true;
  error = {};
  error.kind = RecordError::Kind::WriteFailed;
  error.file = file;
  error.system = staged.error();
  error.reason = FillIn(Text(StringId::RecordWriteFailed), {ReasonText(staged.error())});
  return false;
}

bool Refuse(const fs::path& file, std::string reason, RecordError& error) {
  error = {};
  error.kind = RecordError::Kind::Invalid;
  error.file = file;
  error.reason = std::move(reason);
  return false;
}

}  // namespace

fs::path JobRecordPath(const fs::path& setFolder) { return setFolder / kJobRecordFileName; }
fs::path CompanyRecordPath(const fs::path& settingsFolder) { return settingsFolder / kCompanyRecordFileName; }

fs::path CompanyLogoPath(const CompanyRecord& company, const fs::path& settingsFolder) {
  if (company.logo.empty()) return {};
  const fs::path logo(company.logo);
  return logo.is_absolute() ? logo : settingsFolder / logo;
}

const MeasurementNote* JobRecord::Note(TransferKind kind, int number) const {
  auto it = notes.find({kind, number});
  return it == notes.end() ? nullptr : &it->second;
}

std::string_view JobRecord::Label(TransferKind kind, int number) const {
  const MeasurementNote* note = Note(kind, number);
  return note ? std::string_view(note->label) : std::string_view();
}

void JobRecord::SetNote(MeasurementKey key, MeasurementNote note) {
  if (note.empty()) notes.erase(key);
  else notes[key] = std::move(note);
}

bool JobRecord::empty() const {
  for (const JobFieldInfo& f : kJobFields)
    if (!FieldText(*this, f.field).empty()) return false;
  return notes.empty();
}

std::string RecordError::Text() const {
  if (file.empty()) return reason;
  if (line > 0) return file.string() + ":" + std::to_string(line) + ": " + reason;
  // A file that could not be read is named in its reason already.
  if (kind == Kind::Unreadable) return reason;
  return file.string() + ": " + reason;
}

bool ParseJobRecord(std::string_view text, const fs::path& file, JobRecord& record, RecordError& error) {
  toml::table document;
  if (!ParseDocument(text, file, document, error)) return false;
  JobRecord read;
  Reader reader(file, error);
  std::string topKeys;
  for (const JobFieldInfo& f : kJobFields)
    if (f.key.find('.') == std::string_view::npos) topKeys += std::string(f.key) + ", ";
  topKeys += std::string(kInstrumentTable) + ", " + std::string(kMeasurementTable);

  for (auto&& [key, node] : document) {
    const std::string_view name = key.str();
    if (name == kMeasurementTable) {
      if (!reader.ReadMeasurements(node, read)) return false;
      continue;
    }
    if (name == kInstrumentTable) {
      const toml::table* table = reader.Table(kInstrumentTable, node);
      if (!table) return false;
      for (auto&& [inner, value] : *table) {
        const JobFieldInfo* field = nullptr;
        for (const JobFieldInfo& f : kJobFields)
          if (f.key == std::string(kInstrumentTable) + "." + std::string(inner.str())) field = &f;
        if (!field) return reader.Unknown(inner, "model, serial, firmware");
        if (!reader.ReadText(field->key, value, false, FieldText(read, field->field))) return false;
      }
      continue;
    }
    const JobFieldInfo* field = nullptr;
    for (const JobFieldInfo& f : kJobFields)
      if (f.key == name) field = &f;
    if (!field) return reader.Unknown(key, topKeys);
    if (field->field == JobField::MeasuredAt) {
      if (!reader.ReadMeasuredAt(field->key, node, read.measuredAt)) return false;
    } else if (!reader.ReadText(field->key, node, field->multiLine, FieldText(read, field->field))) {
      return false;
    }
  }
  record = std::move(read);
  return true;
}

JobRecordRead ReadJobRecord(const fs::path& setFolder) {
  JobRecordRead read;
  const fs::path file = JobRecordPath(setFolder);
  if (std::optional<std::string> bytes = ReadRecordFile(file, read.present, read.error))
    ParseJobRecord(*bytes, file, read.record, read.error);
  return read;
}

std::string FormatJobRecord(const JobRecord& record) {
  std::string out =
      "# 案件情報 (job record) of this set folder, written by RXT4 Viewer; the keys are described in its guide.\n";
  for (const JobFieldInfo& f : kJobFields)
    if (f.key.find('.') == std::string_view::npos) PutKey(out, f.key, FieldText(record, f.field));
  if (record.instrument != InstrumentInfo{}) {
    out += "\n[instrument]\n";
    PutKey(out, "model", record.instrument.model);
    PutKey(out, "serial", record.instrument.serial);
    PutKey(out, "firmware", record.instrument.firmware);
  }
  for (const auto& [key, note] : record.notes) {
    if (note.empty()) continue;
    out += "\n[";
    out += kMeasurementTable;
    out += '.';
    out += KindFolderName(key.kind);
    out += '.';
    out += std::to_string(key.number);
    out += "]\n";
    PutKey(out, kLabelKey, note.label);
    PutKey(out, kRemarkKey, note.remark);
  }
  return out;
}

bool WriteJobRecord(const fs::path& setFolder, const JobRecord& record, RecordError& error) {
  const fs::path file = JobRecordPath(setFolder);
  // Only what reads back is written.
  for (const JobFieldInfo& f : kJobFields)
    if (auto why = CheckJobFieldText(f, FieldText(record, f.field))) return Refuse(file, std::move(*why), error);
  for (const auto& [key, note] : record.notes) {
    if (KindFolderName(key.kind).empty() || key.number < 1 || key.number > kMaxMeasurementNumber)
      return Refuse(file, FillIn(Text(StringId::RecordBadNumber), {std::to_string(key.number)}), error);
    if (auto why = CheckNoteText(false, note.label)) return Refuse(file, std::move(*why), error);
    if (auto why = CheckNoteText(true, note.remark)) return Refuse(file, std::move(*why), error);
  }
  return WriteText(file, FormatJobRecord(record), error);
}

bool ParseCompanyRecord(std::string_view text, const fs::path& file, CompanyRecord& record, RecordError& error) {
  toml::table document;
  if (!ParseDocument(text, file, document, error)) return false;
  CompanyRecord read;
  Reader reader(file, error);
  for (auto&& [key, node] : document) {
    const CompanyFieldInfo* field = nullptr;
    for (const CompanyFieldInfo& f : kCompanyFields)
      if (f.key == key.str()) field = &f;
    if (!field) return reader.Unknown(key, CompanyFieldKeys());
    std::string& out = FieldText(read, field->field);
    if (!reader.ReadText(field->key, node, field->multiLine, out)) return false;
    if (auto why = CheckCompanyFieldText(*field, out)) return reader.Fail(node.source(), std::move(*why));
  }
  record = std::move(read);
  return true;
}

CompanyRecordRead ReadCompanyRecord(const fs::path& file) {
  CompanyRecordRead read;
  if (std::optional<std::string> bytes = ReadRecordFile(file, read.present, read.error))
    ParseCompanyRecord(*bytes, file, read.record, read.error);
  return read;
}

std::string FormatCompanyRecord(const CompanyRecord& record) {
  std::string out = "# 会社情報 (company record) printed on the reports, written by RXT4 Viewer.\n";
  for (const CompanyFieldInfo& f : kCompanyFields) PutKey(out, f.key, FieldText(record, f.field));
  return out;
}

bool WriteCompanyRecord(const fs::path& file, const CompanyRecord& record, RecordError& error) {
  for (const CompanyFieldInfo& f : kCompanyFields)
    if (auto why = CheckCompanyFieldText(f, FieldText(record, f.field))) return Refuse(file, std::move(*why), error);
  return WriteText(file, FormatCompanyRecord(record), error);
}

std::span<const JobFieldInfo> JobFields() { return kJobFields; }
std::span<const CompanyFieldInfo> CompanyFields() { return kCompanyFields; }

const JobFieldInfo* FindJobField(std::string_view keyOrLabel) {
  for (const JobFieldInfo& f : kJobFields)
    if (f.key == keyOrLabel || Text(f.label) == keyOrLabel) return &f;
  return nullptr;
}

const CompanyFieldInfo* FindCompanyField(std::string_view keyOrLabel) {
  for (const CompanyFieldInfo& f : kCompanyFields)
    if (f.key == keyOrLabel || Text(f.label) == keyOrLabel) return &f;
  return nullptr;
}

std::string JobFieldKeys() {
  std::string keys;
  for (const JobFieldInfo& f : kJobFields) keys += (keys.empty() ? "" : ", ") + std::string(f.key);
  return keys;
}

std::string CompanyFieldKeys() {
  std::string keys;
  for (const CompanyFieldInfo& f : kCompanyFields) keys += (keys.empty() ? "" : ", ") + std::string(f.key);
  return keys;
}

std::string& FieldText(JobRecord& record, JobField field) {
  return const_cast<std::string&>(FieldText(static_cast<const JobRecord&>(record), field));
}

const std::string& FieldText(const JobRecord& record, JobField field) {
  switch (field) {
    case JobField::Title: return record.title;
    case JobField::Customer: return record.customer;
    case JobField::Property: return record.property;
    case JobField::Address: return record.address;
    case JobField::MeasuredAt: return record.measuredAt;
    case JobField::Weather: return record.weather;
    case JobField::Technician: return record.technician;
    case JobField::InstrumentModel: return record.instrument.model;
    case JobField::InstrumentSerial: return record.instrument.serial;
    case JobField::InstrumentFirmware: return record.instrument.firmware;
    case JobField::Findings: return record.findings;
  }
  return record.title;
}

std::string& FieldText(CompanyRecord& record, CompanyField field) {
  return const_cast<std::string&>(FieldText(static_cast<const CompanyRecord&>(record), field));
}

const std::string& FieldText(const CompanyRecord& record, CompanyField field) {
  switch (field) {
    case CompanyField::Name: return record.name;
    case CompanyField::Address: return record.address;
    case CompanyField::Phone: return record.phone;
    case CompanyField::Logo: return record.logo;
  }
  return record.name;
}

std::optional<std::string> CheckJobFieldText(const JobFieldInfo& field, std::string_view value) {
  const std::string_view name = Text(field.label);
  if (auto why = CheckText(name, value, field.multiLine)) return why;
  if (field.field == JobField::MeasuredAt && !value.empty() && !IsMeasuredAtText(value))
    return FillIn(Text(StringId::RecordBadTime), {name, value});
  return std::nullopt;
}

std::optional<std::string> CheckCompanyFieldText(const CompanyFieldInfo& field, std::string_view value) {
  const std::string_view name = Text(field.label);
  if (auto why = CheckText(name, value, field.multiLine)) return why;
  if (field.field == CompanyField::Logo && !value.empty()) {
    const std::string extension = FoldCase(fs::path(value).extension().string());
    if (extension != ".png" && extension != ".svg") return FillIn(Text(StringId::RecordBadLogo), {name, value});
  }
  return std::nullopt;
}

std::optional<std::string> CheckNoteText(bool remark, std::string_view value) {
  return CheckText(Text(remark ? StringId::JobRemark : StringId::JobLabel), value, remark);
}

std::optional<MeasurementKey> ParseMeasurementKey(std::string_view text, std::string& reason) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    reason = FillIn(Text(StringId::RecordBadKey), {text});
    return std::nullopt;
  }
  const std::string_view kindName = text.substr(0, colon), numberText = text.substr(colon + 1);
  const std::optional<TransferKind> kind = KindByName(kindName);
  if (!kind) {
    reason = FillIn(Text(StringId::RecordBadKind), {kindName, KindNames()});
    return std::nullopt;
  }
  const std::optional<int> number = MeasurementNumber(numberText);
  if (!number) {
    reason = FillIn(Text(StringId::RecordBadNumber), {numberText});
    return std::nullopt;
  }
  return MeasurementKey{*kind, *number};
}

std::string MeasuredAtText(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min);
  return text;
}

bool IsMeasuredAtText(std::string_view text) {
  // YYYY-MM-DD, then optionally " HH:MM".
  if (text.size() != 10 && text.size() != 16) return false;
  auto digits = [&](std::size_t at, std::size_t n) { return IsDigits(text.substr(at, n)); };
  if (!digits(0, 4) || text[4] != '-' || !digits(5, 2) || text[7] != '-' || !digits(8, 2)) return false;
  const int year = Number(text.substr(0, 4)), month = Number(text.substr(5, 2)), day = Number(text.substr(8, 2));
  constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) return false;
  if (text.size() == 10) return true;
  if (text[10] != ' ' || !digits(11, 2) || text[13] != ':' || !digits(14, 2)) return false;
  return Number(text.substr(11, 2)) < 24 && Number(text.substr(14, 2)) < 60;
}

}  // namespace rxt4
