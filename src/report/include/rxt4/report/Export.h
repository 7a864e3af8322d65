#pragma once
// Exports of a selection: an SQLite database, or the same tables as UTF-8 CSV files.
// Each file is written under a temporary name beside its final name and renamed into
// place when complete, so a failure or a cancel never leaves a partial file under the
// final name. The same selection always gives the same database, byte for byte.

#include <atomic>
#include <filesystem>

#include "rxt4/report/JobObserver.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4 {

// Writes the database file (replacing an earlier one), in one transaction.
JobOutcome ExportSqlite(const MeasurementSource& selection, const std::filesystem::path& file, JobObserver& observer,
                        const std::atomic<bool>& abort);

// Writes <table>.csv for every table into folder (created when missing): UTF-8 with a
// byte-order mark, a header row of the column names, CRLF line ends. The constellation
// images go to constellation_images/<set folder>_<item>.png, which the CSV names.
JobOutcome ExportCsv(const MeasurementSource& selection, const std::filesystem::path& folder, JobObserver& observer,
                     const std::atomic<bool>& abort);

}  // namespace rxt4
