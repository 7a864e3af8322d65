#pragma once
// The job record of a set folder (案件情報): whose installation was measured, where,
// when and by whom, with what instrument, what the technician found, and a label and
// remark per measurement beside the instrument's own data name. It is a small
// hand-editable TOML file, "job.toml", beside the kind folders of the set folder; the
// loader passes over it as over any entry that is no kind folder.
//
//   title = "共聴設備 定期点検"          # 件名
//   customer = "山田ハウジング株式会社"   # お客様名
//   property = "メゾン桜台"              # 物件名
//   address = "東京都練馬区桜台1-2-3"     # 住所
//   measured_at = "2026-04-12 10:30"     # 測定日時 (YYYY-MM-DD HH:MM, or YYYY-MM-DD)
//   weather = "晴れ"                      # 天候
//   technician = "佐藤 一郎"              # 測定者
//   findings = "..."                      # 所見 (line breaks allowed)
//   [instrument]                          # 計器
//   model = "RXT4"
//   serial = "A1234567"
//   firmware = "1.20"
//   [measurement.LEVEL.1]                 # a measurement: kind folder name, number
//   label = "101号室 リビング"
//   remark = "..."                        # line breaks allowed
//
// A measurement's number is its record number in the tree (CDataSet::index): the row
// number from 1, or the multi-channel table number. Every key is optional; a key the
// record does not know, a value of the wrong type or a text a field cannot hold
// refuses the whole file, with its line and reason. A refused record is reported and
// passed over (read as empty), never fatal; writing one is staged (StagedFile), so a
// failure leaves the earlier file exactly as it was.
//
// The company that issues the reports (会社情報) is entered once, in "company.toml"
// in the settings folder (beside the INI file):
//
//   name = "株式会社サンプル電設"         # 会社名
//   address = "..."                       # 住所 (line breaks allowed)
//   phone = "03-1234-5678"               # 電話
//   logo = "/home/user/logo.svg"          # a PNG or SVG file; relative to the settings folder

#include <array>
#include <chrono>
#include <compare>
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "rxt4/data/Kinds.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {

// The job record's file in a set folder, and the company record's in the settings folder.
inline constexpr std::string_view kJobRecordFileName = "job.toml";
inline constexpr std::string_view kCompanyRecordFileName = "company.toml";

std::filesystem::path JobRecordPath(const std::filesystem::path& setFolder);
std::filesystem::path CompanyRecordPath(const std::filesystem::path& settingsFolder);

// A measurement of the set folder: its kind and record number.
struct MeasurementKey {
  TransferKind kind = TransferKind::None;
  int number = 0;  // from 1: CDataSet::index
  auto operator<=>(const MeasurementKey&) const = default;
};

// What the technician wrote about one measurement.
struct MeasurementNote {
  std::string label;   // one line, e.g. "101号室 リビング"
  std::string remark;  // free text, line breaks allowed
  bool empty() const { return label.empty() && remark.empty(); }
  bool operator==(const MeasurementNote&) const = default;
};

// The instrument a set folder was measured with, as far as it is known.
struct InstrumentInfo {
  std::string model;
  std::string serial;
  std::string firmware;  // version text, e.g. "1.20"
  bool operator==(const InstrumentInfo&) const = default;
};

struct JobRecord {
  std::string title;       // 件名
  std::string customer;    // お客様名
  std::string property;    // 物件名
  std::string address;     // 住所 (line breaks allowed)
  std::string measuredAt;  // 測定日時: "YYYY-MM-DD HH:MM" or "YYYY-MM-DD" (local time); empty: unknown
  std::string weather;     // 天候
  std::string technician;  // 測定者
  InstrumentInfo instrument;  // 計器
  std::string findings;    // 所見 (line breaks allowed)
  std::map<MeasurementKey, MeasurementNote> notes;  // only measurements with a label or remark

  // The note of a measurement; nullptr when it has none.
  const MeasurementNote* Note(TransferKind kind, int number) const;
  // The label of a measurement; empty when it has none.
  std::string_view Label(TransferKind kind, int number) const;
  // Sets a measurement's note; an empty note removes it.
  void SetNote(MeasurementKey key, MeasurementNote note);

  bool empty() const;
  bool operator==(const JobRecord&) const = default;
};

// The company that issues the reports.
struct CompanyRecord {
  std::string name;     // 会社名
  std::string address;  // 住所 (line breaks allowed)
  std::string phone;    // 電話
  std::string logo;     // path of a PNG or SVG image; empty: none
  bool empty() const { return name.empty() && address.empty() && phone.empty() && logo.empty(); }
  bool operator==(const CompanyRecord&) const = default;
};

// The logo image's path: logo as written, relative paths taken from the settings
// folder; empty when the record names none.
std::filesystem::path CompanyLogoPath(const CompanyRecord& company, const std::filesystem::path& settingsFolder);

// Why a record was not read or not written.
struct RecordError {
  enum class Kind {
    None,
    Unreadable,   // the file exists but could not be read (reason says why)
    Damaged,      // it is no TOML, or holds a key, type or text the record cannot hold
    Invalid,      // a value to be written or set is refused (nothing was written)
    WriteFailed,  // the file could not be written; the earlier file is as it was
  };
  Kind kind = Kind::None;
  std::filesystem::path file;  // the record's file; empty for a refused value not yet tied to one
  int line = 0;                // from 1 for a damaged file; 0 otherwise
  std::string reason;          // UTF-8, from the string table
  std::error_code system;      // the system's reason, when there is one

  explicit operator bool() const { return kind != Kind::None; }
  // "FILE:LINE: REASON", "FILE: REASON", or the reason alone without a file.
  std::string Text() const;
};

// A record as read: the record (empty when the file is missing or refused), whether
// the file is there, and why it was refused.
struct JobRecordRead {
  JobRecord record;
  bool present = false;
  RecordError error;
};
struct CompanyRecordRead {
  CompanyRecord record;
  bool present = false;
  RecordError error;
};

// Records are at most this long: a job record with a label on each of a few thousand
// measurements fits many times over.
inline constexpr std::size_t kMaxRecordFileBytes = 1024 * 1024;

// Reads the job record of a set folder. A missing file is an empty record, no error.
JobRecordRead ReadJobRecord(const std::filesystem::path& setFolder);
// Reads job record text; file names it in errors. False (error filled in, record
// unchanged) when the text is refused.
bool ParseJobRecord(std::string_view text, const std::filesystem::path& file, JobRecord& record, RecordError& error);
// The TOML text of a record (fields in a fixed order, measurements by kind and number).
std::string FormatJobRecord(const JobRecord& record);
// Writes the job record of a set folder, staged; an empty record is written as well
// (a file with its comment only). False with error when a text is refused or the
// write failed; the earlier file is then as it was.
bool WriteJobRecord(const std::filesystem::path& setFolder, const JobRecord& record, RecordError& error);

CompanyRecordRead ReadCompanyRecord(const std::filesystem::path& file);
bool ParseCompanyRecord(std::string_view text, const std::filesystem::path& file, CompanyRecord& record,
                        RecordError& error);
std::string FormatCompanyRecord(const CompanyRecord& record);
bool WriteCompanyRecord(const std::filesystem::path& file, const CompanyRecord& record, RecordError& error);

// ---- Fields by key, for the command line and the dialogs ----

enum class JobField {
  Title,
  Customer,
  Property,
  Address,
  MeasuredAt,
  Weather,
  Technician,
  InstrumentModel,
  InstrumentSerial,
  InstrumentFirmware,
  Findings,
};
enum class CompanyField { Name, Address, Phone, Logo };

struct JobFieldInfo {
  JobField field;
  std::string_view key;  // as in the file: "title", ..., "instrument.model", ...
  StringId label;        // "件名", ...
  bool multiLine;        // line breaks allowed
};
struct CompanyFieldInfo {
  CompanyField field;
  std::string_view key;
  StringId label;
  bool multiLine;
};

// The fields in the order they are shown and written.
std::span<const JobFieldInfo> JobFields();
std::span<const CompanyFieldInfo> CompanyFields();
// A field by its key or its label ("title" or "件名"); nullptr when none has it.
const JobFieldInfo* FindJobField(std::string_view keyOrLabel);
const CompanyFieldInfo* FindCompanyField(std::string_view keyOrLabel);
// The keys, joined by ", " (for an error that lists what may be used).
std::string JobFieldKeys();
std::string CompanyFieldKeys();

std::string& FieldText(JobRecord& record, JobField field);
const std::string& FieldText(const JobRecord& record, JobField field);
std::string& FieldText(CompanyRecord& record, CompanyField field);
const std::string& FieldText(const CompanyRecord& record, CompanyField field);

// Why a value cannot be a field's text (the reason, naming the field by name); empty
// when it can. Texts are UTF-8 without control characters (line breaks only where
// the field allows them) and at most kMaxFieldBytes long (kMaxLongFieldBytes for one
// that allows line breaks); 測定日時 as "YYYY-MM-DD HH:MM" or "YYYY-MM-DD"; the logo a
// ".png" or ".svg" file.
inline constexpr std::size_t kMaxFieldBytes = 1024;
inline constexpr std::size_t kMaxLongFieldBytes = 16 * 1024;
std::optional<std::string> CheckJobFieldText(const JobFieldInfo& field, std::string_view value);
std::optional<std::string> CheckCompanyFieldText(const CompanyFieldInfo& field, std::string_view value);
// The same for a measurement's label (one line) and remark (line breaks allowed).
std::optional<std::string> CheckNoteText(bool remark, std::string_view value);

// A measurement key from the command line's "KIND:NUMBER" (kind folder name in any
// letter case, e.g. "LEVEL:3"); empty with reason when it names none.
std::optional<MeasurementKey> ParseMeasurementKey(std::string_view text, std::string& reason);

// 測定日時 of a moment, in local time: "YYYY-MM-DD HH:MM".
std::string MeasuredAtText(std::chrono::system_clock::time_point when);
// True when text is a 測定日時 the record can hold (see JobRecord::measuredAt).
bool IsMeasuredAtText(std::string_view text);

}  // namespace rxt4
