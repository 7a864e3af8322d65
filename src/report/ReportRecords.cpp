// The cover and the labels of a report from the job records of its set folders and
// the company record of the settings folder.

#include <map>
#include <memory>

#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Strings.h"
#include "rxt4/report/Report.h"

namespace rxt4 {
namespace {

// One line of a text that may hold line breaks.
std::string OneLine(std::string text) {
  for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "　");
  return text;
}

// "2026-04-12 10:30" as the cover prints it: "2026年04月12日 10:30".
std::string MeasuredAtWords(const std::string& text) {
  if (!IsMeasuredAtText(text) || text.size() < 10) return text;
  const std::string time = text.size() > 11 ? text.substr(11) : std::string();
  std::string words =
      FillIn(Text(StringId::RptMeasuredAtFormat, Language::Japanese), {text.substr(0, 4), text.substr(5, 2), text.substr(8, 2), time});
  while (!words.empty() && words.back() == ' ') words.pop_back();
  return words;
}

std::string InstrumentWords(const InstrumentInfo& i) {
  std::string words = i.model;
  auto add = [&](StringId id, const std::string& value) {
    if (value.empty()) return;
    if (!words.empty()) words += "　";
    words += FillIn(Text(id, Language::Japanese), {value});
  };
  add(StringId::RptInstrumentSerial, i.serial);
  add(StringId::RptInstrumentFirmware, i.firmware);
  return words;
}

}  // namespace

void TakeRecords(const MeasurementSource& source, const std::filesystem::path& settingsFolder, ReportOptions& options,
                 JobObserver& observer) {
  auto records = std::make_shared<std::map<std::string, JobRecord>>();
  auto take = [&](const std::string& name) {
    if (records->count(name) != 0) return;
    JobRecordRead read = ReadJobRecord(source.DataFolderPath() / name);
    if (read.error) observer.Warn({JobWarning::Kind::RecordUnreadable, read.error.Text(), 0});
    records->emplace(name, std::move(read.record));
  };
  for (const SourceFolder& folder : source.Folders()) take(folder.name);
  const JobRecord* job = nullptr;
  if (options.compare) {
    take(options.compare->first);
    take(options.compare->second);
    if (!records->at(options.compare->second).empty()) job = &records->at(options.compare->second);
  }
  for (const SourceFolder& folder : source.Folders())
    if (job == nullptr && !records->at(folder.name).empty()) job = &records->at(folder.name);
  if (job != nullptr) {
    ReportCover& c = options.cover;
    c.subject = OneLine(job->title);
    c.customer = OneLine(job->customer);
    c.site = OneLine(job->property);
    c.address = OneLine(job->address);
    c.measuredAt = MeasuredAtWords(job->measuredAt);
    c.weather = OneLine(job->weather);
    c.technician = OneLine(job->technician);
    c.instrument = InstrumentWords(job->instrument);
    c.remarks = job->findings;
  }
  if (!settingsFolder.empty()) {
    const CompanyRecordRead company = ReadCompanyRecord(CompanyRecordPath(settingsFolder));
    if (company.error) observer.Warn({JobWarning::Kind::RecordUnreadable, company.error.Text(), 0});
    options.cover.company = OneLine(company.record.name);
    options.cover.companyAddress = OneLine(company.record.address);
    options.cover.companyPhone = OneLine(company.record.phone);
    options.cover.logo = CompanyLogoPath(company.record, settingsFolder);
  }
  bool labels = false;
  for (const auto& [name, record] : *records) labels = labels || !record.notes.empty();
  if (!labels) return;
  options.label = [records](std::string_view set, TransferKind kind, int index) {
    const auto found = records->find(std::string(set));
    return found == records->end() ? std::string() : OneLine(std::string(found->second.Label(kind, index)));
  };
}

}  // namespace rxt4
