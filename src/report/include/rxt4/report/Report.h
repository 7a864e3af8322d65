#pragma once
// The measurement report a technician hands to the customer: an A4 portrait PDF in
// Japanese.
//
//   1. The cover: the job (件名, お客様名, 物件名, 住所, 測定日時, 天候, 測定者, 計器,
//      所見), the company with its logo, the report number and 発行日, the data folder's
//      name (never a path) and set folders, and boxes for 確認印 and 署名.
//   2. The summary: 総合判定 large, the limits profile, per set folder and kind the
//      measurements that are 合格 / 注意 / 不合格 / 判定なし (judged by FolderJudgement,
//      as `rxt4 check` judges them), and every 不合格 and 注意 reading with its limit.
//   3. The readings per set folder and kind: units in the headers, the verdict as a
//      mark and a word, the measurement's label, the instrument's markers in words
//      (a legend on every table page), every channel row of a multi-channel data set,
//      both field rows of a SKY row; never the instrument's control columns.
//   4. With a compare pair: the two visits side by side per kind, matched by band and
//      channel, with both readings, the change and both verdicts.
//   5. The screens as an appendix (all, the 不合格 ones, or none), two or four to a page.
// Pages are filled (the tables and the screens flow on from kind to kind), numbered
// "n / N", and bookmarked per set folder and kind; the document carries Title, Author
// (the company), Subject (件名) and Keywords. Verdicts are marks and words, never
// colour alone: a black-and-white print loses nothing.

#include <atomic>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "rxt4/data/Kinds.h"
#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

// What the cover says of the job and of the company (UTF-8). An empty field is printed
// as an empty line to be filled in by hand.
struct ReportCover {
  std::string subject;     // 件名
  std::string customer;    // お客様名
  std::string site;        // 物件名
  std::string address;     // 住所
  std::string measuredAt;  // 測定日時
  std::string weather;     // 天候
  std::string technician;  // 測定者
  std::string instrument;  // 計器 (model, serial, firmware version)
  std::string remarks;     // 所見
  std::string company;         // 会社名
  std::string companyAddress;  // its 住所
  std::string companyPhone;    // its 電話
  std::filesystem::path logo;  // a PNG or SVG image; none when empty
};

enum class ReportScreens { None, Failed, All };

struct ReportOptions {
  std::string date;                            // 発行日 as printed
  std::string number;                          // 報告書番号 as printed
  int screensPerPage = 4;                      // 4 (2 x 2, one PDF point per 1/96 inch pixel) or 2 (twice as large)
  ReportScreens screens = ReportScreens::All;  // the appendix: every screen, those of 不合格 measurements, none
  std::vector<TransferKind> kinds;             // only these kinds; empty: every kind
  std::shared_ptr<const LimitsProfile> profile;  // the limits judged against; nullptr: nothing is judged
  ReportCover cover;
  // The label of a measurement ("101号室 リビング"), by set folder, kind and number;
  // empty when it has none. Called from the job's thread.
  std::function<std::string(std::string_view setFolder, TransferKind kind, int index)> label;
  // Set folders compared (before, after): a page per kind; none when not set.
  std::optional<std::pair<std::string, std::string>> compare;
  std::shared_ptr<const FontSet> screenFonts;  // the screens' fonts; nullptr: FontSet::CreateDefault()
};

// Writes the report to pdf, under a temporary name until it is complete (a failure
// or a cancel leaves no file under the final name). Progress counts pages. The set
// folders are judged one by one first (the summary comes before the tables), then the
// pages are planned and drawn set folder by set folder: only the set folders of the
// page being drawn are held. A companion file that gives no graph is warned about once.
JobOutcome WriteReport(const MeasurementSource& source, const std::filesystem::path& pdf,
                       const ReportOptions& options, JobObserver& observer, const std::atomic<bool>& abort);

// Fills the cover and the measurements' labels from the records beside the data: the
// job record (job.toml) of the compared "after" set folder, else of the first set
// folder that has one, for the cover; every set folder's for the labels; and the
// company record (company.toml) of the settings folder, with its logo. A record that
// cannot be read is warned about and passed over. The viewer and `rxt4 report` both
// take their cover so.
void TakeRecords(const MeasurementSource& source, const std::filesystem::path& settingsFolder, ReportOptions& options,
                 JobObserver& observer);

// A date as the report prints it ("2024年05月01日"), in local time.
std::string ReportDateText(std::time_t when);
// A report number made from the time it is issued ("20240501-1430"), in local time.
std::string ReportNumberText(std::time_t when);

}  // namespace rxt4
