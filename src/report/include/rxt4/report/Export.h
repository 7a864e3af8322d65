#pragma once
// Exports of a selection: an SQLite database, the same tables as UTF-8 CSV files, or
// an Excel workbook. Each file is written under a temporary name beside its final
// name and renamed into place when complete, so a failure or a cancel never leaves a
// partial file under the final name. The same selection always gives the same
// database, byte for byte.

#include <atomic>
#include <filesystem>

#include "rxt4/report/ExportTables.h"
#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4 {

// Writes the database file (replacing an earlier one), in one transaction.
JobOutcome ExportSqlite(const MeasurementSource& selection, const std::filesystem::path& file,
                        const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort);

// Writes <table>.csv for every table into folder (created when missing): UTF-8 with a
// byte-order mark, a header row of the column names, CRLF line ends. With the
// samples, the constellation images go to constellation_images/<set folder>_<item>.png,
// which the CSV names.
JobOutcome ExportCsv(const MeasurementSource& selection, const std::filesystem::path& folder,
                     const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort);

// Writes an Excel workbook (replacing an earlier one): a 概要 sheet (the job, the
// verdict counts, the profile), a 判定 sheet (every judged reading with its verdict),
// a sheet per kind and the limits. Graph samples are never put into a workbook.
JobOutcome ExportXlsx(const MeasurementSource& selection, const std::filesystem::path& file,
                      const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort);

}  // namespace rxt4
