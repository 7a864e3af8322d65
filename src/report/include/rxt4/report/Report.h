#pragma once
// The measurement report: an A4 portrait PDF in Japanese with a title page (data
// folder, set folders, measurements per kind, date), a table of the measurements
// per set folder and kind (the stored texts, markers included), and every
// measurement's screen as the viewer draws it, two or four to a page, captioned with
// its number and data name. Page numbers on every page; the font embedded.

#include <atomic>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"
#include "rxt4/screens/Fonts.h"

namespace rxt4 {

struct ReportOptions {
  std::string date;                            // the date printed on the title page
  int screensPerPage = 4;                      // 4 (2 x 2, one PDF point per 1/96 inch pixel) or 2 (twice as large)
  std::shared_ptr<const FontSet> screenFonts;  // the screens' fonts; nullptr: FontSet::CreateDefault()
};

// Writes the report to pdf, under a temporary name until it is complete (a failure
// or a cancel leaves no file under the final name). Progress counts pages. The pages
// are planned from the source's counts and drawn set folder by set folder: only the
// set folders of the page being drawn are held. A companion file that gives no graph
// is warned about once.
JobOutcome WriteReport(const MeasurementSource& source, const std::filesystem::path& pdf,
                       const ReportOptions& options, JobObserver& observer, const std::atomic<bool>& abort);

// A date as the report prints it ("2024年05月01日"), in local time.
std::string ReportDateText(std::time_t when);

}  // namespace rxt4
