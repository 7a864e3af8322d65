#pragma once
// The measurements a report or an export covers: copies of the loaded records of the
// chosen set folders, in the tree's order (set folders as the loader orders them,
// then the kinds in tree order, then the measurement number), so that the same
// folder always gives the same report and the same database. The copies share the loaded table bytes, so a worker
// thread may use them while the viewer loads another folder.

#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {

struct SelectedMeasurement {
  std::string setFolder;  // the set folder's name as the file system lists it
  TransferKind kind = TransferKind::None;
  CDataSet record;
};

struct MeasurementSelection {
  std::filesystem::path dataFolder;
  std::vector<std::string> setFolders;            // in the loader's order
  std::vector<SelectedMeasurement> measurements;  // by set folder, kind, number

  // Number of measurements of a kind.
  int CountOf(TransferKind kind) const;
};

// The measurements of a loaded data folder: of every set folder, or of the named ones
// only (a named folder without measurements is listed with none).
MeasurementSelection SelectMeasurements(const DataFolderModel& model, const std::filesystem::path& dataFolder,
                                        const std::vector<std::string>& onlySets = {});

}  // namespace rxt4
